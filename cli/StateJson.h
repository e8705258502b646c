#pragma once

#include <QByteArray>
#include <QString>

class CJsonValue;
struct CStateRecord;

// Application state files: ".vnx" and the automatic "Vantrel.dat".
bool IsStateFilePath(const QString& path);

// The state file as JSON, every field under its member name, the store's rows in physical
// (file) order.
QByteArray StateJson(const CStateRecord& record);
// The reverse. Missing keys keep the defaults; unknown keys, wrong types and a state the
// program could not read back are errors naming the JSON path.
bool StateFromJson(const CJsonValue& json, CStateRecord& record, QString* error);

// dump and pack of a state file; exit statuses as the commands give them.
int DumpStateFile(const QString& path);
int PackStateFile(const QString& input, const QString& output);
