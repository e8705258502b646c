#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <initializer_list>

// One record: its FDs in order, FD number n being element n. Kept compact because the
// internal data store may hold millions of rows: one heap block holds the FD count, the end
// offset of every FD and the characters (Latin-1 while every character is below 256, UTF-16
// otherwise). Copies are deep and sized to fit, so a stored copy carries no spare room.
class FieldRow
{
public:
    FieldRow();
    FieldRow(std::initializer_list<QString> fields);
    explicit FieldRow(const QStringList& fields);
    FieldRow(const FieldRow& other);
    FieldRow(FieldRow&& other) noexcept;
    FieldRow& operator=(const FieldRow& other);
    FieldRow& operator=(FieldRow&& other) noexcept;
    ~FieldRow();

    qsizetype size() const;
    bool isEmpty() const { return size() == 0; }
    QString at(qsizetype i) const; // i must be below size()
    qsizetype fieldLength(qsizetype i) const; // i must be below size()
    qsizetype textLength() const; // characters of all FDs together
    void append(QStringView field);
    // Appends the pieces of text between separators as they are (no quote handling):
    // "a,,b" gives "a", "" and "b"; an empty text gives one empty FD.
    void appendSeparated(QStringView text, QChar separator = QLatin1Char(','));
    void clear();
    // Room for this many FDs and characters in total, so that appends do not reallocate.
    void reserve(qsizetype fields, qsizetype chars);
    // Drops spare room left by appends.
    void squeeze();
    // The same, but only when the spare room is a sizeable part of the block.
    void squeezeIfSlack();
    QStringList toStringList() const;
    // The FDs joined with "," and no quoting.
    QString join(QChar separator = QLatin1Char(',')) const;

    bool operator==(const FieldRow& other) const;

private:
    struct Storage;

    static Storage* Allocate(qsizetype fields, qsizetype chars, bool wide);
    static void Release(Storage* storage) noexcept;
    void Grow(qsizetype fields, qsizetype chars, bool wide);
    template <typename List>
    void AppendAll(const List& fields);
    void AppendRaw(const char16_t* text, qsizetype length, bool wide);

    Storage* m_storage = nullptr;
};
