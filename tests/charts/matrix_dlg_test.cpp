#include "charts/matrix_dlg.h"
#include "charts/matrix_table_model.h"
#include "matrix_builder.h"

#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <unistd.h>

namespace ksv {
namespace {

std::string Cell(const CMatrixDlg& dlg, int row, int column) {
    const QString text = dlg.List()->model()->index(row, column).data().toString();
    return text.toStdString();
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class MatrixDlgTest : public testing::Test {
protected:
    MatrixDlgTest() {
        m = MakeMatrix(4, 2, {{215, 216}, {7, 8}});
        SetXNumbers(m, {1, 2, 0, 0});
        m.m_xTitle = u"Second";
        m.m_pSeriesNames = {u"T", u"P"};
        m.m_xTemplate = u"%%";
        m.m_yTemplate = u"%%";
        m.m_nYDataSize = static_cast<uint32_t>(m.m_pYData.size());
    }

    // What a MatrixRows entry does to the data: the row at `slot`, then the cursor.
    void WriteRow(uint32_t slot, int32_t x, int32_t t, int32_t p, int32_t cursor) {
        std::vector<uint8_t> value;
        for (auto [buffer, offset, number] :
             {std::tuple{&m.m_pXData, 4 * slot, x}, std::tuple{&m.m_pYData, 4 * slot, t},
              std::tuple{&m.m_pYData, 4 * (4 + slot), p}}) {
            value.clear();
            AppendLe(value, number, 4);
            std::copy(value.begin(), value.end(), buffer->begin() + offset);
        }
        m.m_nPoints = cursor;
    }

    MatrixData m;
    std::string saved = "/tmp/ksv-dlg-" + std::to_string(getpid()) + ".TXT";
    std::vector<QString> messages;

    void UseSavePath(CMatrixDlg& dlg, const std::string& path) {
        dlg.SetSaveUi({[path](QWidget*) { return QString::fromStdString(path); },
                       [this](QWidget*, const QString& text) { messages.push_back(text); }});
    }
};

TEST_F(MatrixDlgTest, TheListFollowsLiveDataOldestRowFirst) {
    auto* dlg = new CMatrixDlg(&m, true, nullptr);
    QPointer<CMatrixDlg> guard(dlg);
    dlg->open();
    ASSERT_EQ(dlg->List()->model()->rowCount(), 2);
    EXPECT_EQ(Cell(*dlg, 1, 1), "216");

    WriteRow(2, 3, 217, 9, 3);
    WriteRow(3, 4, 218, 10, 4);
    dlg->RefreshTable();
    ASSERT_EQ(dlg->List()->model()->rowCount(), 4);
    WriteRow(0, 5, 219, 11, -1); // the ring is full: slot 1 now holds the oldest row
    dlg->RefreshTable();
    ASSERT_EQ(dlg->List()->model()->rowCount(), 4);
    EXPECT_EQ(Cell(*dlg, 0, 0), "2");
    EXPECT_EQ(Cell(*dlg, 0, 1), "216");
    EXPECT_EQ(Cell(*dlg, 3, 0), "5");
    EXPECT_EQ(Cell(*dlg, 3, 2), "11");
    m.m_nPoints = 1; // the device starts over: rows go away
    dlg->RefreshTable();
    EXPECT_EQ(dlg->List()->model()->rowCount(), 1);

    dlg->close(); // deletes itself and lets go of the data
    EXPECT_EQ(dlg->List()->model()->rowCount(), 0);
    QTRY_VERIFY(guard == nullptr);
}

TEST_F(MatrixDlgTest, TheTableToggleExistsOnlyForCharts) {
    CMatrixDlg table(&m, true, nullptr);
    table.setAttribute(Qt::WA_DeleteOnClose, false);
    table.show();
    EXPECT_FALSE(table.TableButton()->isVisible());
    EXPECT_TRUE(table.List()->isVisible());

    CMatrixDlg chart(&m, false, nullptr);
    chart.setAttribute(Qt::WA_DeleteOnClose, false);
    chart.show();
    EXPECT_TRUE(chart.TableButton()->isVisible());
    EXPECT_FALSE(chart.List()->isVisible());
    QTest::mouseClick(chart.TableButton(), Qt::LeftButton);
    EXPECT_TRUE(chart.IsTableShown());
    EXPECT_TRUE(chart.List()->isVisible());
}

TEST_F(MatrixDlgTest, SavingWritesTheListInEitherEncoding) {
    CMatrixDlg dlg(&m, true, nullptr);
    dlg.setAttribute(Qt::WA_DeleteOnClose, false);
    UseSavePath(dlg, saved);
    QTest::mouseClick(dlg.CommaButton(), Qt::LeftButton);
    EXPECT_EQ(ReadAll(saved), "\"Second\",\"T\",\"P\"\r\n1,215,7\r\n2,216,8\r\n");

    m.m_flags |= 0x00000004;
    m.m_nPoints = 0;
    CMatrixDlg wide(&m, true, nullptr);
    wide.setAttribute(Qt::WA_DeleteOnClose, false);
    UseSavePath(wide, saved);
    wide.SaveTableAsText(false);
    const std::string expected("\"\0S\0e\0c\0o\0n\0d\0\"\0;\0\"\0T\0\"\0;\0\"\0P\0\"\0\r\0\n\0",
                               36);
    EXPECT_EQ(ReadAll(saved), expected);
    EXPECT_TRUE(messages.empty());
    unlink(saved.c_str());
}

TEST_F(MatrixDlgTest, APathThatCannotBeOpenedIsToldAndCancelWritesNothing) {
    CMatrixDlg dlg(&m, false, nullptr);
    dlg.setAttribute(Qt::WA_DeleteOnClose, false);
    UseSavePath(dlg, "/tmp/ksv-no-such-folder/t.TXT");
    dlg.SaveTableAsText(true);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "File open error");

    UseSavePath(dlg, "");
    dlg.SaveTableAsText(true);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(MatrixDlgTest, ASessionEndingWhileTheFileDialogIsUpWritesNothing) {
    auto* dlg = new CMatrixDlg(&m, true, nullptr);
    QPointer<CMatrixDlg> guard(dlg);
    dlg->open();
    dlg->SetSaveUi({[&](QWidget*) {
                        dlg->close(); // the session ends meanwhile
                        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                        return QString::fromStdString(saved);
                    },
                    [this](QWidget*, const QString& text) { messages.push_back(text); }});
    dlg->SaveTableAsText(true);
    EXPECT_TRUE(guard == nullptr);
    EXPECT_NE(access(saved.c_str(), F_OK), 0);
    EXPECT_TRUE(messages.empty());
}

} // namespace
} // namespace ksv
