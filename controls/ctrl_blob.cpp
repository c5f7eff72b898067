#include "controls/ctrl.h"

#include "controls/ctrl_rules.h"

#include <QPushButton>
#include <QUrl>

namespace {

const char* const kUnknownData =
    "This program does not know what to do with the data supplied by the remote device.";

// Only web addresses are handed to the desktop; anything else could start a program.
bool IsWebAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

} // namespace

// Opaque data from the device behind a button; opened as a web address when it says so.
void CCtrl::CreateBlob(uint32_t size, const std::vector<uint8_t>& data, uint32_t length) {
    BeginCreate(ControlKind::Blob);
    BlobFields& b = m_blob;
    b.m_nBlobSize = size;
    b.m_pBlobData.assign(size, 0);
    const size_t count = std::min<size_t>({length, size, data.size()});
    std::copy_n(data.begin(), count, b.m_pBlobData.begin());
    b.m_nBlobLen = static_cast<uint32_t>(count);
    if (m_pParent == nullptr) {
        return;
    }
    CreateLabel(0);
    m_pButton.Reset(ksv::qt::CreatePushButton(m_pParent, m_caption, 0, NextChildId()));
    FinishCreate();
}

void CCtrl::ClickBlob() {
    const QString text = QString::fromStdU16String(BlobText(m_blob.m_pBlobData, m_blob.m_nBlobLen));
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (OpensInBrowser(m_flags) && IsWebAddress(url)) {
        OpenUrl(url);
        return;
    }
    if (m_services.host != nullptr) {
        m_services.host->ShowUserMessage(QString::fromLatin1(kUnknownData));
    }
}

void CCtrl::UpdateBlob(const std::vector<uint8_t>& value) {
    BlobFields& b = m_blob;
    const size_t count = std::min<size_t>(value.size(), b.m_nBlobSize);
    std::copy_n(value.begin(), count, b.m_pBlobData.begin());
    b.m_nBlobLen = static_cast<uint32_t>(count);
}
