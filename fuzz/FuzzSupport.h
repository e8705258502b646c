#pragma once

// Shared pieces of the fuzz harnesses: a private folder for inputs that the application only
// reads from files, and a check that stops the run with a message libFuzzer keeps.

#include <QByteArray>
#include <QDir>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace fuzz {

[[noreturn]] inline void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

inline void Check(bool condition, const char* what)
{
    if (!condition)
        Fail(what);
}

class CTempFolder
{
public:
    CTempFolder()
    {
        char pattern[] = "/tmp/vantrel-fuzz-XXXXXX";
        if (!mkdtemp(pattern))
            Fail("cannot make a temporary folder");
        m_path = pattern;
    }
    ~CTempFolder() { QDir(QString::fromStdString(m_path)).removeRecursively(); }

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// Writes the input into name inside the harness's own folder and returns its path. Plain
// stdio keeps this cheap: it runs once per input.
inline QString WriteInput(const char* name, const uint8_t* data, size_t size)
{
    static CTempFolder folder;
    const std::string path = folder.Path() + '/' + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        Fail("cannot write the input file");
    if (size && std::fwrite(data, 1, size, file) != size)
        Fail("cannot write the input file");
    std::fclose(file);
    return QString::fromStdString(path);
}

inline QByteArray Bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

} // namespace fuzz
