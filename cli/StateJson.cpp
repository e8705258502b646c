#include "cli/StateJson.h"

#include "cli/Json.h"
#include "cli/JsonReader.h"

#include "runtime/StateFile.h"
#include "platform/Archive.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <charconv>
#include <cstdio>

bool IsStateFilePath(const QString& path)
{
    const QFileInfo info(path);
    return info.suffix().compare(QLatin1String("vnx"), Qt::CaseInsensitive) == 0
        || info.fileName().compare(QLatin1String("Vantrel.dat"), Qt::CaseInsensitive) == 0;
}

namespace {

// ---- writing ----

template <typename List>
QByteArray TextArray(const List& list)
{
    QByteArray out("[");
    bool first = true;
    for (const QString& s : list) {
        out += first ? "" : ", ";
        out += JsonString(s);
        first = false;
    }
    return out + ']';
}

QByteArray RowArray(const FieldRow& row)
{
    QByteArray out("[");
    for (qsizetype i = 0; i < row.size(); ++i)
        out += (i ? ", " : "") + JsonString(row.at(i));
    return out + ']';
}

// ---- reading ----

struct CMapError
{
    QString m_text;
};

[[noreturn]] void Throw(const QString& path, const QString& reason)
{
    throw CMapError{path + QStringLiteral(": ") + reason};
}

const char* KindName(const CJsonValue& v) { return CJsonValue::KindName(v.m_kind); }

void Expect(const CJsonValue& v, CJsonValue::Kind kind, const QString& path)
{
    if (v.m_kind != kind)
        Throw(path, QStringLiteral("expected %1, found %2").arg(QLatin1String(CJsonValue::KindName(kind)),
                                                               QLatin1String(KindName(v))));
}

int64_t Integer(const CJsonValue& v, const QString& path, int64_t lo, int64_t hi)
{
    const QString range = QStringLiteral("expected an integer from %1 to %2").arg(lo).arg(hi);
    if (v.m_kind != CJsonValue::Kind::Number)
        Throw(path, range + QStringLiteral(", found %1").arg(QLatin1String(KindName(v))));
    const QByteArray& text = v.m_number;
    int64_t parsed = 0;
    const auto r = std::from_chars(text.constData(), text.constData() + text.size(), parsed);
    if (r.ec != std::errc() || r.ptr != text.constData() + text.size() || parsed < lo || parsed > hi)
        Throw(path, range + QStringLiteral(", found %1").arg(QString::fromLatin1(text)));
    return parsed;
}

QString String(const CJsonValue& v, const QString& path)
{
    Expect(v, CJsonValue::Kind::String, path);
    return v.m_string;
}

QStringList Strings(const CJsonValue& v, const QString& path)
{
    Expect(v, CJsonValue::Kind::Array, path);
    QStringList out;
    for (size_t i = 0; i < v.m_array.size(); ++i)
        out.append(String(v.m_array[i], QStringLiteral("%1[%2]").arg(path).arg(i)));
    return out;
}

// The keys of one object, each taken at most once; whatever was not taken is unknown.
class CObjectReader
{
public:
    CObjectReader(const CJsonValue& object, QString path)
        : m_object(object), m_path(std::move(path))
    {
        Expect(object, CJsonValue::Kind::Object, m_path);
    }

    const CJsonValue* Take(const char* key)
    {
        m_taken.append(QString::fromLatin1(key));
        return m_object.Find(m_taken.back());
    }
    QString Path(const char* key) const { return m_path + QLatin1Char('.') + QLatin1String(key); }

    void Int(const char* key, int32_t& x)
    {
        if (const CJsonValue* v = Take(key))
            x = static_cast<int32_t>(Integer(*v, Path(key), INT32_MIN, INT32_MAX));
    }
    void Int64(const char* key, int64_t& x)
    {
        if (const CJsonValue* v = Take(key))
            x = Integer(*v, Path(key), INT64_MIN, INT64_MAX);
    }
    void StringList(const char* key, QStringList& x)
    {
        if (const CJsonValue* v = Take(key))
            x = Strings(*v, Path(key));
    }

    void Finish() const
    {
        for (const auto& [key, value] : m_object.m_object) {
            if (!m_taken.contains(key))
                Throw(m_path + QLatin1Char('.') + key, QStringLiteral("unknown key"));
        }
    }

private:
    const CJsonValue& m_object;
    QString m_path;
    QStringList m_taken;
};

template <typename Fn>
void ForEachElement(const CJsonValue* v, const QString& path, Fn&& fn)
{
    if (!v)
        return;
    Expect(*v, CJsonValue::Kind::Array, path);
    for (size_t i = 0; i < v->m_array.size(); ++i)
        fn(v->m_array[i], QStringLiteral("%1[%2]").arg(path).arg(i));
}

void ReadStore(const CJsonValue& v, const QString& path, CBuffer<FieldRow>& store)
{
    CObjectReader r(v, path);
    std::vector<FieldRow> rows;
    ForEachElement(r.Take("m_data"), r.Path("m_data"), [&](const CJsonValue& row, const QString& rowPath) {
        rows.push_back(FieldRow(Strings(row, rowPath)));
    });
    store.m_data = std::move(rows);
    r.Int("m_ring", store.m_ring);
    r.Int64("m_maxCount", store.m_maxCount);
    r.Int64("m_next", store.m_next);
    r.Finish();
}

void ReadState(const CJsonValue& json, CStateRecord& s)
{
    CObjectReader r(json, QStringLiteral("$"));
    if (const CJsonValue* type = r.Take("type")) {
        if (String(*type, r.Path("type")) != QLatin1String("state"))
            Throw(r.Path("type"), QStringLiteral("expected \"state\""));
    }
    r.Int("m_version", s.m_version);
    if (const CJsonValue* v = r.Take("m_internalData"))
        ReadStore(*v, r.Path("m_internalData"), s.m_internalData);
    r.Int("m_saveCsv", s.m_saveCsv);
    r.Int("m_appendCsv", s.m_appendCsv);
    r.Int("m_saveInternal", s.m_saveInternal);
    r.Int("m_keepInternal", s.m_keepInternal);
    r.StringList("m_includePrefixes", s.m_includePrefixes);
    r.StringList("m_excludePrefixes", s.m_excludePrefixes);
    ForEachElement(r.Take("m_calcFDs"), r.Path("m_calcFDs"), [&](const CJsonValue& v, const QString& path) {
        CObjectReader e(v, path);
        CCalcFD calc;
        if (const CJsonValue* expr = e.Take("m_expr")) {
            const QStringList texts = Strings(*expr, e.Path("m_expr"));
            if (texts.size() != 3)
                Throw(e.Path("m_expr"), QStringLiteral("expected the condition and two expressions"));
            for (size_t i = 0; i < 3; ++i)
                calc.m_expr[i] = texts[qsizetype(i)];
        }
        if (const CJsonValue* reserved = e.Take("m_reserved"))
            calc.m_reserved = String(*reserved, e.Path("m_reserved"));
        e.Finish();
        s.m_calcFDs.push_back(std::move(calc));
    });
    ForEachElement(r.Take("m_fdInfos"), r.Path("m_fdInfos"), [&](const CJsonValue& v, const QString& path) {
        CObjectReader e(v, path);
        CFDInfo info;
        e.Int("m_targetFD", info.m_targetFD);
        e.StringList("m_descriptions", info.m_descriptions);
        e.Finish();
        s.m_fdInfos.m_entries.push_back(std::move(info));
    });
    if (const CJsonValue* v = r.Take("m_windowInfo")) {
        CObjectReader w(*v, r.Path("m_windowInfo"));
        w.Int("m_left", s.m_windowInfo.m_left);
        w.Int("m_top", s.m_windowInfo.m_top);
        w.Int("m_right", s.m_windowInfo.m_right);
        w.Int("m_bottom", s.m_windowInfo.m_bottom);
        w.Finish();
    }
    // Either key alone gives the other: a count of templates with no documents, or the
    // documents of as many templates as listed.
    const CJsonValue* templates = r.Take("m_templateCount");
    const CJsonValue* counts = r.Take("m_docCounts");
    ForEachElement(counts, r.Path("m_docCounts"), [&](const CJsonValue& v, const QString& path) {
        s.m_docCounts.push_back(static_cast<int32_t>(Integer(v, path, 0, INT32_MAX)));
    });
    if (templates) {
        s.m_templateCount = static_cast<int32_t>(Integer(*templates, r.Path("m_templateCount"), 0, 1 << 16));
        if (!counts)
            s.m_docCounts.assign(size_t(s.m_templateCount), 0);
        else if (size_t(s.m_templateCount) != s.m_docCounts.size())
            Throw(r.Path("m_templateCount"), QStringLiteral("differs from the length of m_docCounts"));
    } else {
        s.m_templateCount = static_cast<int32_t>(s.m_docCounts.size());
    }
    r.Finish();
}

} // namespace

QByteArray StateJson(const CStateRecord& s)
{
    QByteArray out("{\n  \"type\": \"state\",\n");
    out += "  \"m_version\": " + QByteArray::number(s.m_version) + ",\n";
    out += "  \"m_internalData\": {\n    \"m_data\": [";
    const std::vector<FieldRow>& rows = s.m_internalData.m_data;
    for (size_t i = 0; i < rows.size(); ++i)
        out += (i ? ",\n      " : "\n      ") + RowArray(rows[i]);
    out += rows.empty() ? "]" : "\n    ]";
    out += ",\n    \"m_ring\": " + QByteArray::number(s.m_internalData.m_ring);
    out += ",\n    \"m_maxCount\": " + QByteArray::number(s.m_internalData.m_maxCount);
    out += ",\n    \"m_next\": " + QByteArray::number(s.m_internalData.m_next) + "\n  },\n";
    out += "  \"m_saveCsv\": " + QByteArray::number(s.m_saveCsv) + ",\n";
    out += "  \"m_appendCsv\": " + QByteArray::number(s.m_appendCsv) + ",\n";
    out += "  \"m_saveInternal\": " + QByteArray::number(s.m_saveInternal) + ",\n";
    out += "  \"m_keepInternal\": " + QByteArray::number(s.m_keepInternal) + ",\n";
    out += "  \"m_includePrefixes\": " + TextArray(s.m_includePrefixes) + ",\n";
    out += "  \"m_excludePrefixes\": " + TextArray(s.m_excludePrefixes) + ",\n";
    out += "  \"m_calcFDs\": [";
    for (size_t i = 0; i < s.m_calcFDs.size(); ++i) {
        const CCalcFD& c = s.m_calcFDs[i];
        out += (i ? ",\n    " : "\n    ") + QByteArray("{\"m_expr\": ") + TextArray(c.m_expr)
            + ", \"m_reserved\": " + JsonString(c.m_reserved) + '}';
    }
    out += s.m_calcFDs.empty() ? "],\n" : "\n  ],\n";
    out += "  \"m_fdInfos\": [";
    const std::vector<CFDInfo>& infos = s.m_fdInfos.m_entries;
    for (size_t i = 0; i < infos.size(); ++i) {
        out += (i ? ",\n    " : "\n    ") + QByteArray("{\"m_targetFD\": ") + QByteArray::number(infos[i].m_targetFD)
            + ", \"m_descriptions\": " + TextArray(infos[i].m_descriptions) + '}';
    }
    out += infos.empty() ? "],\n" : "\n  ],\n";
    const CViewInfo& w = s.m_windowInfo;
    out += "  \"m_windowInfo\": {\"m_left\": " + QByteArray::number(w.m_left) + ", \"m_top\": "
        + QByteArray::number(w.m_top) + ", \"m_right\": " + QByteArray::number(w.m_right)
        + ", \"m_bottom\": " + QByteArray::number(w.m_bottom) + "},\n";
    out += "  \"m_templateCount\": " + QByteArray::number(s.m_templateCount) + ",\n";
    out += "  \"m_docCounts\": [";
    for (size_t i = 0; i < s.m_docCounts.size(); ++i)
        out += (i ? ", " : "") + QByteArray::number(s.m_docCounts[i]);
    out += "]\n}\n";
    return out;
}

bool StateFromJson(const CJsonValue& json, CStateRecord& record, QString* error)
{
    CStateRecord read;
    try {
        ReadState(json, read);
        // Whatever the program would refuse to read (a negative document count, for
        // instance) is refused here.
        CArchive out;
        read.Store(out);
        CArchive in(out.Bytes());
        CStateRecord check;
        check.Load(in);
    } catch (const CMapError& e) {
        if (error)
            *error = e.m_text;
        return false;
    } catch (const CArchiveError& e) {
        if (error)
            *error = QStringLiteral("$: not a readable state: ") + e.Reason();
        return false;
    } catch (const std::exception& e) {
        if (error)
            *error = QStringLiteral("$: ") + QString::fromLocal8Bit(e.what());
        return false;
    }
    record = std::move(read);
    return true;
}

int DumpStateFile(const QString& path)
{
    CStateRecord record;
    QString error;
    if (!ReadStateFile(path, record, &error)) {
        std::fprintf(stderr, "vantrel-cli dump: %s\n", qUtf8Printable(error));
        return 1;
    }
    const QByteArray json = StateJson(record);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "vantrel-cli dump: write error\n");
        return 1;
    }
    return 0;
}

int PackStateFile(const QString& input, const QString& output)
{
    const auto fail = [](const QString& file, const QString& reason) {
        std::fprintf(stderr, "vantrel-cli pack: %s: %s\n", qUtf8Printable(file), qUtf8Printable(reason));
        return 1;
    };
    QFile in;
    const bool opened = input == QLatin1String("-") ? in.open(stdin, QIODevice::ReadOnly)
                                                      : (in.setFileName(input), in.open(QIODevice::ReadOnly));
    if (!opened)
        return fail(input, in.errorString());
    const QByteArray text = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return fail(input, in.errorString());

    CJsonValue json;
    QString error;
    CStateRecord record;
    if (!ParseJson(text, json, &error) || !StateFromJson(json, record, &error))
        return fail(input, error);
    CArchive ar;
    record.Store(ar);
    if (!ar.SaveFile(output, &error))
        return fail(output, error);
    return 0;
}
