#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <initializer_list>

// One record: its FDs in order, FD number n being element n. Kept compact because the
// internal data store may hold millions of rows.
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
    void append(QStringView field);
    void clear();
    QStringList toStringList() const;
    // The FDs joined with "," and no quoting.
    QString join(QChar separator = QLatin1Char(',')) const;

    bool operator==(const FieldRow& other) const;

private:
    // implementation-defined compact storage
    struct Storage;
    Storage* m_storage = nullptr;
};
