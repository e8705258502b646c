#include "cli/DesignJson.h"

#include "cli/Json.h"
#include "cli/JsonReader.h"
#include "model/DocumentFiles.h"

#include <QSet>

#include <charconv>
#include <cmath>
#include <limits>
#include <type_traits>

namespace {

// ---- one field list per class, walked by the writer and the reader alike ----

template <class V>
void Visit(V& v, CLineInfo& x)
{
    v.Int("m_show", x.m_show);
    v.Enum("m_style", x.m_style);
    v.Color("m_color", x.m_color);
    v.Int("m_width", x.m_width);
    v.Int("m_length", x.m_length);
}

template <class V>
void Visit(V& v, LOGFONTW& x)
{
    v.Int("lfHeight", x.lfHeight);
    v.Int("lfWidth", x.lfWidth);
    v.Int("lfEscapement", x.lfEscapement);
    v.Int("lfOrientation", x.lfOrientation);
    v.Int("lfWeight", x.lfWeight);
    v.Byte("lfItalic", x.lfItalic);
    v.Byte("lfUnderline", x.lfUnderline);
    v.Byte("lfStrikeOut", x.lfStrikeOut);
    v.Byte("lfCharSet", x.lfCharSet);
    v.Byte("lfOutPrecision", x.lfOutPrecision);
    v.Byte("lfClipPrecision", x.lfClipPrecision);
    v.Byte("lfQuality", x.lfQuality);
    v.Byte("lfPitchAndFamily", x.lfPitchAndFamily);
    v.FaceName("lfFaceName", x.lfFaceName);
}

template <class V>
void Visit(V& v, CTextInfo& x)
{
    v.Int("m_fdNo", x.m_fdNo);
    v.Enum("m_displayKind", x.m_displayKind);
    v.Enum("m_logicalKind", x.m_logicalKind);
    v.Enum("m_valueKind", x.m_valueKind);
    v.String("m_format", x.m_format);
    v.Color("m_textColor", x.m_textColor);
    v.Color("m_backColor", x.m_backColor);
    v.Int("m_opaque", x.m_opaque);
    v.Object("m_font", x.m_font);
    v.Enum("m_anchor", x.m_anchor);
    v.Int("m_distance", x.m_distance);
    v.String("m_prefix", x.m_prefix);
    v.String("m_suffix", x.m_suffix);
    v.Double("m_multiplier", x.m_multiplier);
    v.Double("m_adder", x.m_adder);
}

template <class V>
void Visit(V& v, CAxisInfo& x)
{
    v.Int("m_fdNo", x.m_fdNo);
    v.Enum("m_valueKind", x.m_valueKind);
    v.Double("m_startX", x.m_startX);
    v.Double("m_startY", x.m_startY);
    v.Double("m_endX", x.m_endX);
    v.Double("m_endY", x.m_endY);
    v.Double("m_startValue", x.m_startValue);
    v.Double("m_endValue", x.m_endValue);
    v.Double("m_originX", x.m_originX);
    v.Double("m_originY", x.m_originY);
    v.Double("m_originValue", x.m_originValue);
    v.Enum("m_logicalKind", x.m_logicalKind);
    v.Int("m_logScale", x.m_logScale);
    v.Int("m_latestRows", x.m_latestRows);
    v.Int("m_latestRowCount", x.m_latestRowCount);
    v.Int("m_autoRange", x.m_autoRange);
    v.Int("m_showAxisLine", x.m_showAxisLine);
    v.Object("m_axisLine", x.m_axisLine);
    v.Int("m_showTicks", x.m_showTicks);
    v.Object("m_tickLine", x.m_tickLine);
    v.Double("m_tickStartValue", x.m_tickStartValue);
    v.Double("m_tickEndValue", x.m_tickEndValue);
    v.Int("m_tickDivisions", x.m_tickDivisions);
    v.Enum("m_tickSide", x.m_tickSide);
    v.Int("m_showSubTicks", x.m_showSubTicks);
    v.Object("m_subTickLine", x.m_subTickLine);
    v.Int("m_subTickDivisions", x.m_subTickDivisions);
    v.Enum("m_subTickSide", x.m_subTickSide);
    v.Int("m_showLabels", x.m_showLabels);
    v.Object("m_labelText", x.m_labelText);
    v.String("m_unit", x.m_unit);
    v.Double("m_multiplier", x.m_multiplier);
    v.Double("m_adder", x.m_adder);
}

template <class V>
void Visit(V& v, CPlotInfo& x)
{
    v.Int("m_id", x.m_id);
    v.Enum("m_displayKind", x.m_displayKind);
    v.Enum("m_shape", x.m_shape);
    v.Int("m_size", x.m_size);
    v.Color("m_color", x.m_color);
    v.Int("m_fill", x.m_fill);
    v.Int("m_lineWidth", x.m_lineWidth);
    v.Int("m_variableSize", x.m_variableSize);
    v.Int("m_sizeFdNo", x.m_sizeFdNo);
    v.Enum("m_sizeValueKind", x.m_sizeValueKind);
    v.Double("m_sizeBaseValue", x.m_sizeBaseValue);
    v.Double("m_sizeStepValue", x.m_sizeStepValue);
    v.StringList("m_includePrefixes", x.m_includePrefixes);
    v.StringList("m_ignorePrefixes", x.m_ignorePrefixes);
    v.Enum("m_originKind", x.m_originKind);
    v.Int("m_originPlotId", x.m_originPlotId);
    v.Int("m_axisCount", x.m_axisCount);
    v.ObjectList("m_axes", x.m_axes);
    v.ObjectList("m_texts", x.m_texts);
    v.Object("m_historyLine", x.m_historyLine);
    v.String("m_comment", x.m_comment);
}

template <class V>
void Visit(V& v, CConnectInfo& x)
{
    v.Int("m_id", x.m_id);
    v.Enum("m_displayKind", x.m_displayKind);
    v.IdList("m_plotIds", x.m_plotIds);
    v.Int("m_closed", x.m_closed);
    v.Object("m_line", x.m_line);
    v.String("m_comment", x.m_comment);
}

template <class V>
void Visit(V& v, CBarInfo& x)
{
    v.Int("m_id", x.m_id);
    v.Double("m_initialValue", x.m_initialValue);
    v.Int("m_reserved", x.m_reserved);
    v.Object("m_axis", x.m_axis);
    v.Enum("m_anchor", x.m_anchor);
    v.Object("m_line", x.m_line);
    v.StringList("m_includePrefixes", x.m_includePrefixes);
    v.StringList("m_ignorePrefixes", x.m_ignorePrefixes);
    v.ObjectList("m_texts", x.m_texts);
    v.String("m_comment", x.m_comment);
}

template <class V>
void Visit(V& v, CViewInfo& x)
{
    v.Int("m_left", x.m_left);
    v.Int("m_top", x.m_top);
    v.Int("m_right", x.m_right);
    v.Int("m_bottom", x.m_bottom);
}

template <class V>
void Visit(V& v, CDesignLists& x)
{
    v.ObjectList("plots", x.m_plots);
    v.ObjectList("connections", x.m_connects);
    v.ObjectList("bars", x.m_bars);
}

template <class V>
void Visit(V& v, CDocumentContent& x)
{
    v.String("m_backgroundPath", x.m_backgroundPath);
    v.Int("m_pictureHeight", x.m_pictureHeight);
    v.Int("m_pictureWidth", x.m_pictureWidth);
    v.ObjectList("m_viewInfos", x.m_viewInfos);
    Visit(v, x.m_design);
}

// A face name is written as text when nothing follows its terminator.
bool FaceNameIsText(const std::array<char16_t, 32>& face)
{
    bool ended = false;
    for (char16_t c : face) {
        if (ended && c != 0)
            return false;
        ended = ended || c == 0;
    }
    return ended;
}

// ---- writer ----

QByteArray DoubleText(double v)
{
    if (std::isnan(v))
        return QByteArrayLiteral("\"nan\"");
    if (std::isinf(v))
        return v > 0 ? QByteArrayLiteral("\"inf\"") : QByteArrayLiteral("\"-inf\"");
    if (v == 0 && std::signbit(v))
        return QByteArrayLiteral("-0.0");
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v); // shortest exact form
    return QByteArray(buffer, result.ptr - buffer);
}

class CJsonWriter
{
public:
    QByteArray m_out;

    template <class T>
    void Document(const char* type, T& x)
    {
        m_out += "{\n  \"type\": ";
        m_out += JsonString(QString::fromLatin1(type));
        m_depth = 1;
        m_first = false;
        Visit(*this, x);
        m_out += "\n}\n";
    }

    void Int(const char* name, int32_t& x) { Key(name) += QByteArray::number(x); }
    void Color(const char* name, uint32_t& x) { Key(name) += QByteArray::number(x); }
    void Byte(const char* name, uint8_t& x) { Key(name) += QByteArray::number(x); }
    template <class E>
    void Enum(const char* name, E& x) { Key(name) += QByteArray::number(static_cast<int32_t>(x)); }
    void Double(const char* name, double& x) { Key(name) += DoubleText(x); }
    void String(const char* name, QString& x) { Key(name) += JsonString(x); }

    void StringList(const char* name, std::vector<QString>& list)
    {
        QByteArray& out = Key(name);
        out += '[';
        for (size_t i = 0; i < list.size(); ++i)
            out += (i ? ", " : "") + JsonString(list[i]);
        out += ']';
    }

    void IdList(const char* name, std::vector<int32_t>& list)
    {
        QByteArray& out = Key(name);
        out += '[';
        for (size_t i = 0; i < list.size(); ++i)
            out += (i ? ", " : "") + QByteArray::number(list[i]);
        out += ']';
    }

    void FaceName(const char* name, std::array<char16_t, 32>& face)
    {
        if (FaceNameIsText(face)) {
            LOGFONTW f;
            f.lfFaceName = face;
            Key(name) += JsonString(f.FaceName());
            return;
        }
        QByteArray& out = Key(name);
        out += '[';
        for (size_t i = 0; i < face.size(); ++i)
            out += (i ? ", " : "") + QByteArray::number(int(face[i]));
        out += ']';
    }

    template <class T>
    void Object(const char* name, T& x)
    {
        Key(name);
        Body(x);
    }

    template <class T>
    void ObjectList(const char* name, std::vector<T>& list)
    {
        Key(name);
        if (list.empty()) {
            m_out += "[]";
            return;
        }
        m_out += '[';
        ++m_depth;
        for (size_t i = 0; i < list.size(); ++i) {
            m_out += i ? ",\n" : "\n";
            Indent();
            Body(list[i]);
        }
        --m_depth;
        m_out += '\n';
        Indent();
        m_out += ']';
    }

private:
    QByteArray& Key(const char* name)
    {
        m_out += m_first ? "\n" : ",\n";
        m_first = false;
        Indent();
        m_out += '"';
        m_out += name;
        m_out += "\": ";
        return m_out;
    }

    void Indent() { m_out += QByteArray(2 * m_depth, ' '); }

    template <class T>
    void Body(T& x)
    {
        m_out += '{';
        ++m_depth;
        m_first = true;
        Visit(*this, x);
        --m_depth;
        if (!m_first) {
            m_out += '\n';
            Indent();
        }
        m_out += '}';
        m_first = false;
    }

    int m_depth = 0;
    bool m_first = true;
};

// ---- reader ----

struct CMapError
{
    QString m_text;
};

class CJsonObjectReader
{
public:
    CJsonObjectReader(const CJsonValue& object, QString path) : m_object(object), m_path(std::move(path)) {}

    // Every key of the object must have been asked for.
    void Finish() const
    {
        for (const auto& [key, value] : m_object.m_object) {
            if (!m_taken.contains(key))
                throw CMapError{QStringLiteral("%1.%2: unknown key").arg(m_path, key)};
        }
    }

    const CJsonValue* Take(const char* name)
    {
        const QString key = QString::fromLatin1(name);
        m_taken.insert(key);
        return m_object.Find(key);
    }

    void Int(const char* name, int32_t& x)
    {
        if (const CJsonValue* v = Take(name))
            x = static_cast<int32_t>(Integer(*v, name, INT32_MIN, INT32_MAX));
    }
    void Color(const char* name, uint32_t& x)
    {
        if (const CJsonValue* v = Take(name))
            x = static_cast<uint32_t>(Integer(*v, name, 0, UINT32_MAX));
    }
    void Byte(const char* name, uint8_t& x)
    {
        if (const CJsonValue* v = Take(name))
            x = static_cast<uint8_t>(Integer(*v, name, 0, 255));
    }
    template <class E>
    void Enum(const char* name, E& x)
    {
        if (const CJsonValue* v = Take(name))
            x = static_cast<E>(static_cast<int32_t>(Integer(*v, name, INT32_MIN, INT32_MAX)));
    }

    void Double(const char* name, double& x)
    {
        const CJsonValue* v = Take(name);
        if (!v)
            return;
        if (v->m_kind == CJsonValue::Kind::String) {
            if (v->m_string == QLatin1String("inf"))
                x = std::numeric_limits<double>::infinity();
            else if (v->m_string == QLatin1String("-inf"))
                x = -std::numeric_limits<double>::infinity();
            else if (v->m_string == QLatin1String("nan"))
                x = std::numeric_limits<double>::quiet_NaN();
            else
                Throw(name, QStringLiteral("expected a number, \"inf\", \"-inf\" or \"nan\""));
            return;
        }
        Expect(*v, CJsonValue::Kind::Number, name);
        const QByteArray& text = v->m_number;
        double parsed = 0;
        const auto r = std::from_chars(text.constData(), text.constData() + text.size(), parsed);
        if (r.ec != std::errc() || r.ptr != text.constData() + text.size())
            Throw(name, QStringLiteral("%1 is out of the range of a double").arg(QString::fromLatin1(text)));
        x = parsed;
    }

    void String(const char* name, QString& x)
    {
        if (const CJsonValue* v = Take(name)) {
            Expect(*v, CJsonValue::Kind::String, name);
            x = v->m_string;
        }
    }

    void StringList(const char* name, std::vector<QString>& list)
    {
        const CJsonValue* v = Take(name);
        if (!v)
            return;
        Expect(*v, CJsonValue::Kind::Array, name);
        std::vector<QString> read;
        for (size_t i = 0; i < v->m_array.size(); ++i) {
            const CJsonValue& e = v->m_array[i];
            if (e.m_kind != CJsonValue::Kind::String)
                Throw(Indexed(name, i), WrongType("a string", e));
            read.push_back(e.m_string);
        }
        list = std::move(read);
    }

    void IdList(const char* name, std::vector<int32_t>& list)
    {
        const CJsonValue* v = Take(name);
        if (!v)
            return;
        Expect(*v, CJsonValue::Kind::Array, name);
        std::vector<int32_t> read;
        for (size_t i = 0; i < v->m_array.size(); ++i)
            read.push_back(static_cast<int32_t>(Integer(v->m_array[i], Indexed(name, i), INT32_MIN, INT32_MAX)));
        list = std::move(read);
    }

    void FaceName(const char* name, std::array<char16_t, 32>& face)
    {
        const CJsonValue* v = Take(name);
        if (!v)
            return;
        if (v->m_kind == CJsonValue::Kind::String) {
            if (v->m_string.size() >= qsizetype(face.size()))
                Throw(name, QStringLiteral("a face name has at most %1 characters").arg(face.size() - 1));
            face.fill(0);
            for (qsizetype i = 0; i < v->m_string.size(); ++i)
                face[size_t(i)] = v->m_string.at(i).unicode();
            return;
        }
        if (v->m_kind != CJsonValue::Kind::Array || v->m_array.size() != face.size())
            Throw(name, QStringLiteral("expected a string or an array of %1 code units").arg(face.size()));
        for (size_t i = 0; i < face.size(); ++i)
            face[i] = static_cast<char16_t>(Integer(v->m_array[i], Indexed(name, i), 0, 0xFFFF));
    }

    template <class T>
    void Object(const char* name, T& x)
    {
        if (const CJsonValue* v = Take(name)) {
            Expect(*v, CJsonValue::Kind::Object, name);
            ReadObject(*v, Path(name), x);
        }
    }

    template <class T>
    void ObjectList(const char* name, std::vector<T>& list)
    {
        const CJsonValue* v = Take(name);
        if (!v)
            return;
        Expect(*v, CJsonValue::Kind::Array, name);
        std::vector<T> read;
        read.reserve(v->m_array.size());
        for (size_t i = 0; i < v->m_array.size(); ++i) {
            const CJsonValue& e = v->m_array[i];
            if (e.m_kind != CJsonValue::Kind::Object)
                Throw(Indexed(name, i), WrongType("an object", e));
            T element;
            ReadObject(e, Path(Indexed(name, i)), element);
            read.push_back(std::move(element));
        }
        list = std::move(read);
    }

    template <class T>
    static void ReadObject(const CJsonValue& object, const QString& path, T& x)
    {
        CJsonObjectReader reader(object, path);
        Visit(reader, x);
        reader.Finish();
    }

private:
    QString Path(const QString& name) const { return m_path + QLatin1Char('.') + name; }
    QString Path(const char* name) const { return Path(QString::fromLatin1(name)); }
    static QString Indexed(const char* name, size_t i) { return QStringLiteral("%1[%2]").arg(QLatin1String(name)).arg(i); }

    static QString WrongType(const char* wanted, const CJsonValue& v)
    {
        return QStringLiteral("expected %1, found %2").arg(QLatin1String(wanted), QLatin1String(CJsonValue::KindName(v.m_kind)));
    }

    template <class N>
    [[noreturn]] void Throw(const N& name, const QString& reason) const
    {
        throw CMapError{QStringLiteral("%1: %2").arg(Path(name), reason)};
    }

    template <class N>
    void Expect(const CJsonValue& v, CJsonValue::Kind kind, const N& name) const
    {
        if (v.m_kind != kind)
            Throw(name, WrongType(CJsonValue::KindName(kind), v));
    }

    template <class N>
    int64_t Integer(const CJsonValue& v, const N& name, int64_t lo, int64_t hi) const
    {
        const QString range = QStringLiteral("expected an integer from %1 to %2").arg(lo).arg(hi);
        if (v.m_kind != CJsonValue::Kind::Number)
            Throw(name, range + QStringLiteral(", found %1").arg(QLatin1String(CJsonValue::KindName(v.m_kind))));
        const QByteArray& text = v.m_number;
        int64_t parsed = 0;
        const auto r = std::from_chars(text.constData(), text.constData() + text.size(), parsed);
        if (r.ec != std::errc() || r.ptr != text.constData() + text.size() || parsed < lo || parsed > hi)
            Throw(name, range + QStringLiteral(", found %1").arg(QString::fromLatin1(text)));
        return parsed;
    }

    const CJsonValue& m_object;
    QString m_path;
    QSet<QString> m_taken;
};

CDesignLists& DesignOf(CDesignLists& x) { return x; }
CDesignLists& DesignOf(CDocumentContent& x) { return x.m_design; }

// The program refuses a stored plot without its two axes, so pack does not write one.
void CheckAxes(CDesignLists& design)
{
    for (size_t i = 0; i < design.m_plots.size(); ++i) {
        if (design.m_plots[i].m_axes.size() < 2)
            throw CMapError{QStringLiteral("$.plots[%1].m_axes: a plot holds at least two axes").arg(i)};
    }
}

template <class T>
bool FromJson(const CJsonValue& json, const char* type, T& target, QString* error)
{
    try {
        if (json.m_kind != CJsonValue::Kind::Object)
            throw CMapError{QStringLiteral("$: expected an object")};
        T read;
        CJsonObjectReader reader(json, QStringLiteral("$"));
        if (const CJsonValue* t = reader.Take("type")) {
            if (t->m_kind != CJsonValue::Kind::String || t->m_string != QLatin1String(type))
                throw CMapError{QStringLiteral("$.type: expected \"%1\" for this file type").arg(QLatin1String(type))};
        }
        Visit(reader, read);
        reader.Finish();
        CheckAxes(DesignOf(read));
        target = std::move(read);
        return true;
    } catch (const CMapError& e) {
        if (error)
            *error = e.m_text;
        return false;
    }
}

} // namespace

QByteArray DocumentJson(const CDocumentContent& content)
{
    CJsonWriter writer;
    // The walk is shared with the reader and so takes non-const fields; writing changes nothing.
    writer.Document("document", const_cast<CDocumentContent&>(content));
    return writer.m_out;
}

QByteArray InfoJson(const CDesignLists& design)
{
    CJsonWriter writer;
    writer.Document("info", const_cast<CDesignLists&>(design));
    return writer.m_out;
}

bool DocumentFromJson(const CJsonValue& json, CDocumentContent& content, QString* error)
{
    return FromJson(json, "document", content, error);
}

bool InfoFromJson(const CJsonValue& json, CDesignLists& design, QString* error)
{
    return FromJson(json, "info", design, error);
}
