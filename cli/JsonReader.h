#pragma once

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

// A parsed JSON value. Numbers keep their source text, so that integers and doubles are
// converted exactly by whoever knows which one the place wants.
class CJsonValue
{
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };

    // Out of line: the members hold the class itself, which clang's standard library
    // checks only accept once the class is complete.
    CJsonValue();
    CJsonValue(const CJsonValue&);
    CJsonValue(CJsonValue&&) noexcept;
    CJsonValue& operator=(const CJsonValue&);
    CJsonValue& operator=(CJsonValue&&) noexcept;
    ~CJsonValue();

    Kind m_kind = Kind::Null;
    bool m_bool = false;
    QByteArray m_number;
    QString m_string;
    std::vector<CJsonValue> m_array;
    std::vector<std::pair<QString, CJsonValue>> m_object; // in source order, keys unique

    const CJsonValue* Find(const QString& key) const;
    static const char* KindName(Kind kind);
};

// Strict JSON (RFC 8259) in UTF-8. A "\u" escape of a lone surrogate is kept as that code
// unit. Duplicate keys are errors. On failure error holds "line L, column C: reason".
bool ParseJson(const QByteArray& text, CJsonValue& value, QString* error);
