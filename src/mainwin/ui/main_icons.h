#pragma once

#include <QIcon>

namespace zep {

// The main window's tool images, drawn here so that they look the same on every desktop.
enum class ToolImage {
    NewEntry,
    EditEntry,
    DeleteEntry,
    Search,
    ExpandAll,
    CollapseAll,
    Separator,
    Font,
    NewDocument,
    NewNote,
    FetchDocument,
    OpenDocument,
    Detail,
    Done,
    SubEntries,
    Table,
    Note,
    Summary,
};

QIcon toolIcon(ToolImage image);

} // namespace zep
