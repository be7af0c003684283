#pragma once
// Small helpers shared by the Options dialog's construction and its handlers.
#include <QColor>
#include <QFrame>
#include <QPalette>
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

namespace meshforge::gui::options_form {

inline QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string S(const QString& text) {
    return text.toUtf8().toStdString();
}

// Colours are kept as 0x00BBGGRR, red in the low byte.
inline void ShowColor(QFrame* swatch, std::uint32_t colour) {
    QPalette pal = swatch->palette();
    pal.setColor(QPalette::Window,
                 QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    swatch->setPalette(pal);
}

} // namespace meshforge::gui::options_form
