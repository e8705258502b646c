#pragma once

#include <QString>

#include <array>
#include <cstdint>

class CArchive;

// The font record the design files store, field for field.
struct LOGFONTW
{
    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    std::array<char16_t, 32> lfFaceName{}; // zero-terminated, zero-padded

    QString FaceName() const;
    void SetFaceName(const QString& name); // cut to 31 code units, never inside a surrogate pair

    // 5 int32, 8 single bytes, 64 raw bytes of face name: 92 bytes.
    void Serialize(CArchive& ar);

    bool operator==(const LOGFONTW&) const = default;
};
