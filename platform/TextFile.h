#pragma once

#include <QString>
#include <QStringView>

#include <cstdio>
#include <memory>

// A code page 932 text file in the Windows text-mode sense: lines end in CR LF on disk,
// "\n" is written as CR LF, and reading strips CR LF or LF (a lone CR stays in the line).
// Buffered both ways; a write error may therefore surface on a later WriteString or on
// Flush, so writers that must know call Flush before Close.
class CTextFile
{
public:
    enum class Mode { Read, CreateTruncate, Append };

    CTextFile();
    ~CTextFile();
    CTextFile(const CTextFile&) = delete;
    CTextFile& operator=(const CTextFile&) = delete;

    // Closes a file already open first. Append writes every line at the end of the file.
    bool Open(const QString& path, Mode mode, QString* error = nullptr);
    void Close();
    bool IsOpen() const;

    // Next line without its line end; false at the end of the file or on a read error.
    // An empty line is a line, and a last line without a line end is a line.
    bool ReadLine(QString& line);

    // Writes text with every "\n" turned into CR LF; false on a write error.
    bool WriteString(QStringView text);
    bool Flush();

    // Whether any read or write error (including one on Close) happened since Open.
    bool HasError() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// The bytes CTextFile writes for text: code page 932 with every "\n" as CR LF.
QByteArray TextModeBytes(QStringView text);
