#include "platform/LogFont.h"

#include "platform/Archive.h"

#include <QtEndian>

QString LOGFONTW::FaceName() const
{
    qsizetype length = 0;
    while (length < qsizetype(lfFaceName.size()) && lfFaceName[size_t(length)] != 0)
        ++length;
    return QString(reinterpret_cast<const QChar*>(lfFaceName.data()), length);
}

void LOGFONTW::SetFaceName(const QString& name)
{
    // Room for the terminating zero; never keep half of a surrogate pair.
    qsizetype length = qMin(name.size(), qsizetype(lfFaceName.size()) - 1);
    if (length > 0 && length < name.size() && name.at(length - 1).isHighSurrogate())
        --length;
    lfFaceName.fill(0);
    for (qsizetype i = 0; i < length; ++i)
        lfFaceName[size_t(i)] = name.at(i).unicode();
}

void LOGFONTW::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        for (int32_t v : {lfHeight, lfWidth, lfEscapement, lfOrientation, lfWeight})
            ar.WriteInt32(v);
        for (uint8_t v : {lfItalic, lfUnderline, lfStrikeOut, lfCharSet, lfOutPrecision,
                 lfClipPrecision, lfQuality, lfPitchAndFamily})
            ar.WriteByte(v);
        // Padding after the zero is written as held, so a loaded record saves unchanged.
        for (char16_t c : lfFaceName)
            ar.WriteUInt16(c);
        return;
    }

    // Read into a copy so that a truncated record leaves this one untouched.
    LOGFONTW f;
    for (int32_t* v : {&f.lfHeight, &f.lfWidth, &f.lfEscapement, &f.lfOrientation, &f.lfWeight})
        *v = ar.ReadInt32();
    for (uint8_t* v : {&f.lfItalic, &f.lfUnderline, &f.lfStrikeOut, &f.lfCharSet,
             &f.lfOutPrecision, &f.lfClipPrecision, &f.lfQuality, &f.lfPitchAndFamily})
        *v = ar.ReadByte();
    const QByteArray face = ar.ReadBytes(qsizetype(f.lfFaceName.size()) * 2);
    for (size_t i = 0; i < f.lfFaceName.size(); ++i)
        f.lfFaceName[i] = qFromLittleEndian<uint16_t>(face.constData() + 2 * i);
    *this = f;
}
