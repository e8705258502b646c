#pragma once

#include "dialogs/DialogParts.h"
#include "forms/EditPattern.h"

class CVantrelDoc;
class IUserInteraction;

// What a design dialog works with: the document whose working lists it edits, the views it
// tells about changes, the message boxes and choosers, and how it runs its sub-dialogs.
struct CEditContext
{
    CVantrelDoc* doc = nullptr;
    IUserInteraction* ui = nullptr;
    HintSink updateAllViews;
    DialogRunner run; // sub-dialogs; ExecRunner() in the application
};
