#pragma once

#include "mainwin/ui/view_state.h"

namespace zep {

class TDM;
class TTreeView2;

// What the tree handlers need from the main window that hosts the trees.
class TreeHost {
public:
    virtual ~TreeHost() = default;
    virtual const ViewState& viewState() const = 0;
    virtual TDM& dataModule() = 0;
    virtual TTreeView2& addressTree() = 0;  // TVA
    virtual TTreeView2& topicTree() = 0;    // TVB
    virtual TTreeView2& documentTree() = 0; // TVD
    virtual bool treeLoading() const = 0;   // the tree-load flag
    virtual void setTreeLoading(bool loading) = 0;
    virtual bool copyDrag() const = 0;
    virtual void setCopyDrag(bool copy) = 0;
    virtual void setViewTabCaption(int tabIndex, const QString& caption) = 0;
    virtual void applyEntryRule(bool properEntrySelected) = 0;
    virtual void reloadDocumentList(bool requery, bool filter) = 0;
    virtual void showAddressSummary() = 0;
    virtual void clearAddressSummary() = 0;
    virtual void setGridAcceptsFiles(bool accept) = 0;
    // Whether files dropped onto the document list are filed; until they are, the list refuses them.
    virtual bool fileDropsCarriedOut() const { return false; }
    virtual void moveDocument(int number) = 0;
    virtual void copyDocument(int number) = 0;
    virtual bool currentDocumentIsNote() = 0;
};

} // namespace zep
