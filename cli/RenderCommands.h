#pragma once

#include <QStringList>

// vantrel-cli render: a CSV file through the pipeline into one document, its view's overlay
// layer written as PNG.
int RunRenderCommand(const QStringList& args);
extern const char* const kRenderUsage;

// vantrel-cli serve: the document's display, fed by live sources, served to browsers.
int RunServeCommand(const QStringList& args);
extern const char* const kServeUsage;
