// CDocTemplate names one kind of document the application opens: the resource id its menu, icon and strings share,
// the menu MDI frames show while a document of this kind is active (the "shared menu"), and the document strings.
// The application keeps its templates (CWinApp::AddDocTemplate, which takes ownership); MDI children point at the
// shared menu of their kind, which is how the bars tell which kind of document is active.
//
//   AfxGetApp()->AddDocTemplate(new CDocTemplate(IDR_TEXTTYPE));
//   // IDR_TEXTTYPE: a menu, and a string "\nText\nText file\n...\n...\nOsmira.Text\nOsmira text document"
//
// CDocument is a document of the application: this library keeps no data or views for it; a frame only tells
// whether it has one (CFrameWnd::GetActiveDocument).
#pragma once

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"

class CDocTemplate : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocTemplate)

public:
    // The parts of the template's string resource, separated there by '\n'.
    enum DocStringIndex
    {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };

    // Loads the menu and the string resource of the id (either may be missing).
    explicit CDocTemplate(UINT nIDResource);
    ~CDocTemplate() override;
    CDocTemplate(const CDocTemplate&) = delete;
    CDocTemplate& operator=(const CDocTemplate&) = delete;

    // ---- Override these ----------------------------------------------------------------------------------------
    // The part of the string resource (may be empty); FALSE, rString empty, when the resource has no such part.
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    UINT GetResourceID() const { return m_nIDResource; }

    UINT m_nIDResource;
    // Owned: destroyed with the template.
    HMENU m_hMenuShared = nullptr;

private:
    CString m_strDocStrings;
};

class CDocument : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocument)

public:
    CDocument() = default;
};
