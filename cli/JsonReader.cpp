#include "cli/JsonReader.h"

#include <QSet>

#include <cstring>

namespace {

// Deep nesting would only exhaust the stack; designs nest a few levels.
constexpr int kMaxDepth = 64;

class CParser
{
public:
    explicit CParser(const QByteArray& text) : m_text(text) {}

    bool Parse(CJsonValue& value, QString* error)
    {
        SkipBlanks();
        if (!ParseValue(value, 0))
            return Report(error);
        SkipBlanks();
        if (m_pos != m_text.size()) {
            m_reason = QStringLiteral("unexpected text after the value");
            return Report(error);
        }
        return true;
    }

private:
    bool Report(QString* error) const
    {
        if (error) {
            qsizetype line = 1, column = 1;
            for (qsizetype i = 0; i < m_pos && i < m_text.size(); ++i) {
                if (m_text[i] == '\n') {
                    ++line;
                    column = 1;
                } else if ((static_cast<unsigned char>(m_text[i]) & 0xC0) != 0x80) {
                    ++column;
                }
            }
            *error = QStringLiteral("line %1, column %2: %3").arg(line).arg(column).arg(m_reason);
        }
        return false;
    }

    bool Fail(const QString& reason)
    {
        m_reason = reason;
        return false;
    }

    bool AtEnd() const { return m_pos >= m_text.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_text[m_pos]; }

    void SkipBlanks()
    {
        while (!AtEnd() && std::strchr(" \t\r\n", m_text[m_pos]) && m_text[m_pos] != '\0')
            ++m_pos;
    }

    bool Literal(const char* word)
    {
        const qsizetype n = qsizetype(std::strlen(word));
        if (m_text.mid(m_pos, n) != word)
            return Fail(QStringLiteral("unexpected character"));
        m_pos += n;
        return true;
    }

    bool ParseValue(CJsonValue& value, int depth)
    {
        if (depth > kMaxDepth)
            return Fail(QStringLiteral("nested too deeply"));
        switch (Peek()) {
        case '{': return ParseObject(value, depth);
        case '[': return ParseArray(value, depth);
        case '"':
            value.m_kind = CJsonValue::Kind::String;
            return ParseString(value.m_string);
        case 't':
            value.m_kind = CJsonValue::Kind::Bool;
            value.m_bool = true;
            return Literal("true");
        case 'f':
            value.m_kind = CJsonValue::Kind::Bool;
            value.m_bool = false;
            return Literal("false");
        case 'n':
            value.m_kind = CJsonValue::Kind::Null;
            return Literal("null");
        default:
            if (Peek() == '-' || (Peek() >= '0' && Peek() <= '9'))
                return ParseNumber(value);
            return Fail(AtEnd() ? QStringLiteral("unexpected end of text") : QStringLiteral("unexpected character"));
        }
    }

    bool ParseObject(CJsonValue& value, int depth)
    {
        value.m_kind = CJsonValue::Kind::Object;
        ++m_pos;
        SkipBlanks();
        if (Peek() == '}') {
            ++m_pos;
            return true;
        }
        QSet<QString> keys;
        for (;;) {
            SkipBlanks();
            if (Peek() != '"')
                return Fail(QStringLiteral("expected a key in double quotes"));
            const qsizetype keyPos = m_pos;
            QString key;
            if (!ParseString(key))
                return false;
            if (keys.contains(key)) {
                m_pos = keyPos;
                return Fail(QStringLiteral("duplicate key \"%1\"").arg(key));
            }
            SkipBlanks();
            if (Peek() != ':')
                return Fail(QStringLiteral("expected ':'"));
            ++m_pos;
            SkipBlanks();
            CJsonValue member;
            if (!ParseValue(member, depth + 1))
                return false;
            keys.insert(key);
            value.m_object.emplace_back(std::move(key), std::move(member));
            SkipBlanks();
            if (Peek() == ',') {
                ++m_pos;
                continue;
            }
            if (Peek() == '}') {
                ++m_pos;
                return true;
            }
            return Fail(QStringLiteral("expected ',' or '}'"));
        }
    }

    bool ParseArray(CJsonValue& value, int depth)
    {
        value.m_kind = CJsonValue::Kind::Array;
        ++m_pos;
        SkipBlanks();
        if (Peek() == ']') {
            ++m_pos;
            return true;
        }
        for (;;) {
            SkipBlanks();
            CJsonValue element;
            if (!ParseValue(element, depth + 1))
                return false;
            value.m_array.push_back(std::move(element));
            SkipBlanks();
            if (Peek() == ',') {
                ++m_pos;
                continue;
            }
            if (Peek() == ']') {
                ++m_pos;
                return true;
            }
            return Fail(QStringLiteral("expected ',' or ']'"));
        }
    }

    bool ParseNumber(CJsonValue& value)
    {
        const qsizetype start = m_pos;
        auto digits = [this] {
            const qsizetype from = m_pos;
            while (Peek() >= '0' && Peek() <= '9')
                ++m_pos;
            return m_pos > from;
        };
        if (Peek() == '-')
            ++m_pos;
        if (Peek() == '0') {
            ++m_pos;
        } else if (!digits()) {
            return Fail(QStringLiteral("malformed number"));
        }
        if (Peek() == '.') {
            ++m_pos;
            if (!digits())
                return Fail(QStringLiteral("malformed number"));
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++m_pos;
            if (Peek() == '+' || Peek() == '-')
                ++m_pos;
            if (!digits())
                return Fail(QStringLiteral("malformed number"));
        }
        value.m_kind = CJsonValue::Kind::Number;
        value.m_number = m_text.mid(start, m_pos - start);
        return true;
    }

    bool Hex4(char16_t& unit)
    {
        if (m_pos + 4 > m_text.size())
            return Fail(QStringLiteral("malformed \\u escape"));
        unit = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_pos++];
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                return Fail(QStringLiteral("malformed \\u escape"));
            unit = char16_t(unit * 16 + digit);
        }
        return true;
    }

    bool ParseString(QString& out)
    {
        ++m_pos; // opening quote
        QByteArray plain; // UTF-8 run since the last escape
        auto flush = [&] {
            if (!plain.isEmpty()) {
                out += QString::fromUtf8(plain);
                plain.clear();
            }
        };
        for (;;) {
            if (AtEnd())
                return Fail(QStringLiteral("unterminated string"));
            const unsigned char c = static_cast<unsigned char>(m_text[m_pos]);
            if (c == '"') {
                ++m_pos;
                flush();
                return true;
            }
            if (c < 0x20)
                return Fail(QStringLiteral("control character in a string"));
            if (c != '\\') {
                plain.append(char(c));
                ++m_pos;
                continue;
            }
            flush();
            ++m_pos;
            const char e = Peek();
            ++m_pos;
            switch (e) {
            case '"': out += QLatin1Char('"'); break;
            case '\\': out += QLatin1Char('\\'); break;
            case '/': out += QLatin1Char('/'); break;
            case 'b': out += QLatin1Char('\b'); break;
            case 'f': out += QLatin1Char('\f'); break;
            case 'n': out += QLatin1Char('\n'); break;
            case 'r': out += QLatin1Char('\r'); break;
            case 't': out += QLatin1Char('\t'); break;
            case 'u': {
                char16_t unit = 0;
                if (!Hex4(unit))
                    return false;
                out += QChar(unit);
                break;
            }
            default:
                --m_pos;
                return Fail(QStringLiteral("unknown escape"));
            }
        }
    }

    const QByteArray& m_text;
    qsizetype m_pos = 0;
    QString m_reason;
};

} // namespace

CJsonValue::CJsonValue() = default;
CJsonValue::CJsonValue(const CJsonValue&) = default;
CJsonValue::CJsonValue(CJsonValue&&) noexcept = default;
CJsonValue& CJsonValue::operator=(const CJsonValue&) = default;
CJsonValue& CJsonValue::operator=(CJsonValue&&) noexcept = default;
CJsonValue::~CJsonValue() = default;

const CJsonValue* CJsonValue::Find(const QString& key) const
{
    for (const auto& [k, v] : m_object) {
        if (k == key)
            return &v;
    }
    return nullptr;
}

const char* CJsonValue::KindName(Kind kind)
{
    switch (kind) {
    case Kind::Null: return "null";
    case Kind::Bool: return "a boolean";
    case Kind::Number: return "a number";
    case Kind::String: return "a string";
    case Kind::Array: return "an array";
    case Kind::Object: return "an object";
    }
    return "a value";
}

bool ParseJson(const QByteArray& text, CJsonValue& value, QString* error)
{
    CJsonValue parsed;
    if (!CParser(text).Parse(parsed, error))
        return false;
    value = std::move(parsed);
    return true;
}
