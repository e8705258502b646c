#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// The application's commands with their historic numbers, which the state of the toolbar
// customization is keyed by.
enum class Command : int32_t {
    SaveState = 32772,
    RestoreState = 32774,
    FDConversion = 32808,
    TcpInput = 32786,
    MqttInput = 32830,
    ClearInternal = 32788,
    InternalInput = 32789,
    ExportInternalCsv = 32793,
    CsvInput = 32790,
    About = 57664,
    FileNew = 57600,
    FileOpen = 57601,
    FileClose = 57602,
    FileSave = 57603,
    FileSaveAs = 57604,
    RecentFile1 = 57616,
    RecentFile2 = 57617,
    RecentFile3 = 57618,
    RecentFile4 = 57619,
    NewWindow = 57648,
    Exit = 57665,
    ChangePicture = 32771,
    PlotList = 32777,
    ConnectList = 32779,
    BarList = 32781,
    InfoSave = 32782,
    InfoOpen = 32784,
    WindowManager = 131,
    CustomizeToolbar = 126,
    ViewToolbar = 59392,
    ViewStatusBar = 59393,
    WindowCascade = 57650,
    WindowTile = 57651,
    WebPublish = 32831,
};

// The two document types and the menu shown while no document is open.
enum class MenuKind { NoDocument, Scroll, Stretch };

// When a command may run.
enum class EnableRule {
    Always,
    NotBusy,              // no document busy, no run, no data source window
    NotBusyStoreNotEmpty, // and the internal data store holds a row
    NotBusyWithDocument,  // and a document window is active
    DocumentIdle,         // the active document's edit mode is None
    Unavailable,          // its window comes with a later part of the program
};

struct CCommandSpec
{
    Command m_id;
    const char16_t* m_caption; // menu text of the scroll document's menu
    const char16_t* m_status;  // status bar text, "\n", tooltip
    EnableRule m_rule;
};

const std::vector<CCommandSpec>& CommandTable();
const CCommandSpec& CommandSpec(Command id);

// The menu caption in a given document type's menu (the stretch menu words two differently).
QString CommandCaption(Command id, MenuKind menu);
// The status bar part and the tooltip part of the status text.
QString CommandStatusText(Command id);
QString CommandToolTip(Command id);

// What the enabling rules read.
struct CCommandState
{
    bool m_busy = false;
    bool m_storeEmpty = true;
    bool m_hasActiveDocument = false;
    bool m_activeDocumentIdle = false; // its edit mode is None
};

bool IsCommandEnabled(Command id, const CCommandState& state);
