#include "controls/ctrl.h"

#include "image/gif_decoder.h"
#include "link/panel_budget.h"

#include <QPainter>

#include <algorithm>

namespace {

// 0x00BBGGRR colours, row by row, as an image the painter draws: the rows the data reached.
QImage ImageOfPixels(int width, int rows, const std::vector<uint32_t>& pixels) {
    QImage image(width, rows, QImage::Format_RGB32);
    if (image.isNull()) {
        return image;
    }
    for (int y = 0; y < rows; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uint32_t* source = pixels.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const uint32_t c = source[x];
            line[x] = qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                           static_cast<int>((c >> 16) & 0xFF));
        }
    }
    return image;
}

struct Picture {
    QImage rows; // the rows decoded; the rest of the picture is black
    int width = 0;
    int height = 0;
    bool refused = false; // too large, alone or with the panel's other pictures
};

Picture DecodePicture(const std::vector<uint8_t>& gif, ksv::PictureBudget* budget) {
    ksv::GifDecoder::Limits limits;
    limits.declaredPixels = ksv::kMaxPicturePixels;
    limits.storedPixels = budget != nullptr ? budget->Left() : ksv::kMaxPicturePixels;
    auto decoder = std::make_unique<ksv::GifDecoder>();
    Picture picture;
    if (!decoder->Decode(gif, limits)) {
        picture.refused = decoder->RefusalReason() != ksv::GifDecoder::Refusal::kNotGif;
        return picture;
    }
    if (decoder->Width() == 0 || decoder->Height() == 0) {
        return picture;
    }
    picture.width = decoder->Width();
    picture.height = decoder->Height();
    picture.rows = ImageOfPixels(decoder->Width(), decoder->Rows(), decoder->Pixels());
    if (budget != nullptr) {
        budget->Charge(decoder->Pixels().size());
    }
    return picture;
}

} // namespace

// A GIF painted straight onto the view; the control takes the picture's size. A picture the
// decoder does not take leaves the control empty; one too large for the panel's budget is
// drawn crossed out at the standard size.
void CCtrl::CreateImage(const std::vector<uint8_t>& gif) {
    BeginCreate(ControlKind::Image);
    ImageFields& image = m_image;
    image.m_bImageShown = false;
    Picture picture = DecodePicture(gif, m_services.pictures);
    image.m_bRefused = picture.refused;
    if (picture.refused && m_services.pictures != nullptr) {
        m_services.pictures->NoteRefusal();
    }
    image.m_pImageBitmap = std::move(picture.rows);
    image.m_nImageWidth = picture.width;
    image.m_nImageHeight = picture.height;
    if (picture.width > 0) {
        m_width = image.m_nImageWidth;
        m_height = image.m_nImageHeight;
    }
}

void CCtrl::PaintImage(QPainter& painter) const {
    const ImageFields& image = m_image;
    if (m_kind != ControlKind::Image || !image.m_bImageShown) {
        return;
    }
    const CtrlRect control = Rect();
    if (image.m_bRefused) {
        const QRect box(control.x, control.y, control.w - 1, control.h - 1);
        painter.save();
        painter.setPen(Qt::darkGray);
        painter.drawRect(box);
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.bottomLeft(), box.topRight());
        painter.restore();
        return;
    }
    if (image.m_nImageWidth == 0) {
        return;
    }
    const int rows = image.m_pImageBitmap.height();
    painter.save();
    painter.setClipRect(control.x, control.y, control.w, control.h);
    for (const CtrlRect& cell :
         ImageCells(control, image.m_nImageWidth, image.m_nImageHeight, image.m_nImageHAlign,
                    image.m_nImageVAlign, image.m_bImagePressed)) {
        // Rows the data never reached are black, in proportion to the cell.
        const int shown = static_cast<int>(int64_t{cell.h} * rows / image.m_nImageHeight);
        if (shown < cell.h) {
            painter.fillRect(QRect(cell.x, cell.y + shown, cell.w, cell.h - shown), Qt::black);
        }
        if (rows > 0) {
            painter.drawImage(QRect(cell.x, cell.y, cell.w, shown), image.m_pImageBitmap);
        }
    }
    painter.restore();
}

// A tap is an empty value; the release reports nothing.
void CCtrl::SetImagePressed(bool pressed, bool report) {
    m_image.m_bImagePressed = pressed;
    if (report) {
        SendValue(nullptr, 0);
    }
}
