#include "controls/ctrl.h"

#include "image/gif_decoder.h"

#include <QPainter>

namespace {

// 2048 x 2048: more than any panel shows. A larger picture is not kept.
constexpr size_t kMaxImagePixels = size_t{2048} * 2048;

// 0x00BBGGRR colours, row by row, as an image the painter draws.
QImage ImageOfPixels(int width, int height, const std::vector<uint32_t>& pixels) {
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        return image;
    }
    for (int y = 0; y < height; ++y) {
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

QImage DecodePicture(const std::vector<uint8_t>& gif) {
    ksv::GifDecoder decoder;
    if (!decoder.Decode(gif)) {
        return {};
    }
    const auto pixels = static_cast<size_t>(decoder.Width()) * decoder.Height();
    if (pixels == 0 || pixels > kMaxImagePixels || decoder.Pixels().size() < pixels) {
        return {};
    }
    return ImageOfPixels(decoder.Width(), decoder.Height(), decoder.Pixels());
}

} // namespace

// A GIF painted straight onto the view; the control takes the picture's size. A picture the
// decoder refuses leaves the control empty.
void CCtrl::CreateImage(const std::vector<uint8_t>& gif) {
    BeginCreate(ControlKind::Image);
    ImageFields& image = m_image;
    image.m_bImageShown = false;
    image.m_pImageBitmap = DecodePicture(gif);
    image.m_nImageWidth = image.m_pImageBitmap.width();
    image.m_nImageHeight = image.m_pImageBitmap.height();
    if (!image.m_pImageBitmap.isNull()) {
        m_width = image.m_nImageWidth;
        m_height = image.m_nImageHeight;
    }
}

void CCtrl::PaintImage(QPainter& painter) const {
    const ImageFields& image = m_image;
    if (m_kind != ControlKind::Image || !image.m_bImageShown || image.m_pImageBitmap.isNull()) {
        return;
    }
    const CtrlRect control = Rect();
    painter.save();
    painter.setClipRect(control.x, control.y, control.w, control.h);
    for (const CtrlRect& cell :
         ImageCells(control, image.m_nImageWidth, image.m_nImageHeight, image.m_nImageHAlign,
                    image.m_nImageVAlign, image.m_bImagePressed)) {
        painter.drawImage(QRect(cell.x, cell.y, cell.w, cell.h), image.m_pImageBitmap);
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
