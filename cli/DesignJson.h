#pragma once

#include <QByteArray>
#include <QString>

class CDesignLists;
class CDocumentContent;
class CJsonValue;

// The design classes as JSON: every saved field under its member name, in file order;
// enumerations, flags and colours as integers; doubles as numbers that read back to the same
// double, non-finite ones as "inf", "-inf", "nan"; a face name with bytes after its
// terminator as an array of 32 code units.
QByteArray DocumentJson(const CDocumentContent& content);
QByteArray InfoJson(const CDesignLists& design);

// The reverse. Missing keys keep the class defaults; unknown keys and wrong types are
// errors naming the JSON path ("$.plots[0].m_axes[1].m_fdNo: ..."). A "type" key, when
// present, must say "document" or "info" respectively.
bool DocumentFromJson(const CJsonValue& json, CDocumentContent& content, QString* error);
bool InfoFromJson(const CJsonValue& json, CDesignLists& design, QString* error);
