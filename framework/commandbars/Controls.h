// COSMControls: the ordered controls one bar shows. It makes controls by Type code, binds them to the command bars'
// actions, converts menu items into controls, keeps every control's index, collection and parent current, searches
// and walks them, copies and compares whole collections, and keeps a snapshot of the bar's original controls
// (COSMOriginalControls) so that customization can be seen and undone:
//
//   COSMControls* controls = bar->GetControls();
//   controls->Add(1, ID_FILE_NEW);                        // a button, appended
//   controls->Add(2, IDR_EDIT_MENU, "", 0);               // a popup first, filled from the menu resource
//   if (COSMControl* save = controls->FindControlById(ID_FILE_SAVE)) ...
//
// The collection holds one reference on each control and is itself reference counted.
#pragma once

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/Control.h"

#include <vector>

class COSMOriginalControls;
class COSMCommandBarList;
struct COSMCommandBarsPersistParams;
class COSMPropExchange;

// What message 10334 asks the site before a menu item or toolbar button becomes a control (and 10335 reports
// after, with the control filled). A non-zero reply to 10334 means the site changed control, Type, caption, id or
// button style.
struct COSMControlCreateBlock
{
    UINT id = 0;
    COSMControl* control = nullptr;
    BOOL toolBar = FALSE;
    int position = 0;
    CMenu* menu = nullptr;
    COSMCommandBar* commandBar = nullptr;
    CString caption;
    int type = 0;
    int buttonStyle = 0;
};

// What message 10337 asks the site before a popup bar (or toolbar) is made. A non-zero reply with a popup bar in
// commandBar makes it the one to use; the site hands it over with one reference. Its title may be changed.
struct COSMCommandBarRequestBlock
{
    COSMCommandBar* commandBar = nullptr;
    BOOL popup = FALSE;
    BOOL expand = FALSE;
    BOOL toolBar = FALSE;
    BOOL tearOff = FALSE;
    CString title;
    UINT id = 0;
};

class COSMControls : public CCmdTarget
{
    DECLARE_DYNCREATE(COSMControls)

public:
    // Messages to the site window.
    static constexpr UINT kMessageBeforeCreateControl = 10334;
    static constexpr UINT kMessageAfterCreateControl = 10335;
    static constexpr UINT kMessageCreateCommandBar = 10337;

    COSMControls();
    ~COSMControls() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    // Takes a control of this collection out (unless fixed) and releases it; controls of others are left alone.
    virtual void Remove(COSMControl* control);
    // Replaces the controls with clones of the source's non-temporary ones and duplicates its original controls.
    virtual void Copy(const COSMControls* source, BOOL recursive);
    // FALSE for temporary controls.
    virtual BOOL ShouldSerializeControl(const COSMControl* control) const;
    virtual void OnControlAdded(COSMControl* control);
    virtual void OnControlRemoved(COSMControl* control);
    // TRUE for controls that Remove and RemoveAll leave in place; none here.
    virtual BOOL IsFixedControl(const COSMControl* control) const { return FALSE; }
    // Every control gets its index, this collection and the parent bar; the bar lays out again later.
    virtual void RefreshIndexes();

    // ---- Saving and loading ------------------------------------------------------------------------------------
    // The bars the non-temporary controls open (and the snapshot's, when originals are saved).
    virtual void GenerateCommandBarList(DWORD& nextId, COSMCommandBarList* list, COSMCommandBarsPersistParams* params);
    // "Control" items (class and keys), then "OriginalControls" and "CustomizedControls". Loading replaces the
    // controls; an item whose class cannot be made raises CArchiveException::badClass.
    virtual void DoPropExchange(COSMPropExchange* px);
    virtual void RestoreCommandBarList(COSMCommandBarList* list);

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    int GetCount() const { return static_cast<int>(m_controls.size()); }
    // Null outside 0..count-1.
    COSMControl* GetAt(int index) const;

    // Makes a control of the Type (1 button, 2 to 4 popups with a popup bar, 5 to 11 the other types once they are
    // registered), binds it and inserts it before the index (-1: at the end). Null when the Type makes nothing.
    COSMControl* Add(int type, int id, LPCSTR parameter = nullptr, int before = -1, BOOL temporary = FALSE);
    // Binds a made control to the id's action (or gives it the id) and inserts it. Null for a null control.
    COSMControl* AddControl(COSMControl* control, int id, LPCSTR parameter = nullptr, int before = -1,
                            BOOL temporary = FALSE);
    // Takes over the caller's reference; an index outside the array appends.
    COSMControl* InsertAt(COSMControl* control, int before);
    COSMControl* Append(COSMControl* control) { return InsertAt(control, -1); }
    // A new control of the same runtime class, inserted and then filled with the control's Copy.
    COSMControl* AddClone(const COSMControl* control, int before, BOOL recursive);
    // Converts one menu item; null when it gives no control (0xFF00 items, Type 7, unknown Types).
    COSMControl* AddMenuItem(CMenu* menu, int position);

    void RemoveAt(int index);
    // Removes every control that is not fixed, last first.
    void RemoveAll();

    COSMCommandBar* GetParent() const { return m_parent; }
    void SetParent(COSMCommandBar* parent);
    // The parent bar's command bars, else the ones stored for a free-standing collection.
    COSMCommandBars* GetCommandBars() const;
    void SetCommandBars(COSMCommandBars* commandBars) { m_commandBars = commandBars; }

    // The first control of the Type (0 any), visible when asked, with the id (-1 any); with recursion the bars the
    // non-matching controls open are searched too.
    COSMControl* FindControl(int type, int id, BOOL visibleOnly, BOOL recursive) const;
    COSMControl* FindControlById(int id) const { return FindControl(0, id, FALSE, FALSE); }
    // The first visible control whose rectangle holds the point.
    COSMControl* HitTest(CPoint point) const;
    // Controls visible when nothing (TRUE) or all but the does-not-fit flag (FALSE) is ignored.
    int GetVisibleCount(BOOL allHidden = TRUE) const;
    COSMControl* GetVisibleAt(int n, BOOL allHidden = TRUE) const;
    // The next control from the index in the direction (+1, -1) that keyboard navigation may take, wrapping once;
    // -1 when there is none.
    int GetNext(int index, int direction, BOOL keyboard = TRUE, BOOL skipTemporary = FALSE,
                BOOL layoutMask = FALSE) const;

    // Changes a control's Type: within the popup Types only the field changes; otherwise a new control of the Type
    // takes the old one's settings and place. Null (the old control kept) when the Type makes no control.
    COSMControl* SetControlType(COSMControl* control, int type);
    COSMControl* SetControlTypeAt(int index, int type);

    // A new collection of the same class with clones of the non-temporary controls and of the original controls.
    COSMControls* Duplicate(BOOL recursive) const;
    // TRUE when both hold equal non-temporary controls in the same order.
    BOOL Compare(const COSMControls* other) const;
    // TRUE without a snapshot or when the snapshot differs.
    BOOL IsChanged() const;
    // Snapshots the non-temporary controls as the original ones.
    void CreateOriginalControls();
    // Takes over the caller's reference (null clears).
    void SetOriginalControls(COSMOriginalControls* original);
    void ClearOriginalControls() { SetOriginalControls(nullptr); }
    COSMOriginalControls* GetOriginalControls() const { return m_originalControls; }
    BOOL IsOriginalControls() const { return m_originalFlag; }

    // ---- Layout (ControlsRowLayout.cpp, ControlsColumnLayout.cpp) ----------------------------------------------
    // Bits of a layout mode.
    static constexpr DWORD kLayoutWrapped = 0x01;         // rows wrapped or controls hidden (the size takes the length)
    static constexpr DWORD kLayoutHorizontal = 0x02;      // passed through
    static constexpr DWORD kLayoutMRUWidth = 0x04;        // the length is the bar's MRU width
    static constexpr DWORD kLayoutHorizontalDock = 0x08;  // a dock row: the length is a width, the minimum a height
    static constexpr DWORD kLayoutVertical = 0x10;        // rows become columns; the length is a height
    static constexpr DWORD kLayoutLengthIsHeight = 0x20;  // a floating bar whose height is given
    static constexpr DWORD kLayoutCommit = 0x40;          // write rectangles, rows, wrap and hide flags
    static constexpr DWORD kLayoutHideWrap = 0x80;        // hide what does not fit instead of wrapping
    static constexpr DWORD kLayoutPopupToolBar = 0x100;   // each group starts a row; squarish without an MRU width

    // The row layout of toolbars and menu bars: controls flow in rows (columns with kLayoutVertical) that wrap at
    // the length, or with the bar's stacked flag large buttons beside stacks of small ones. Returns the bar's size
    // with the borders; with kLayoutCommit the controls get their places. 0,0 without a parent bar.
    CSize CalcDynamicSize(CDC* dc, int length, DWORD mode, const CRect& borders, int minWidth);
    // The column layout of popup menus: the bar's own controls top to bottom, a new column where a control asks for
    // one or maxHeight (when above 0) runs out; width (1..29999) fixes the last column's outer width. Always
    // commits. 0,0 without a parent bar.
    CSize CalcPopupSize(CDC* dc, int maxHeight, int width, const CRect& borders);

    // The part of the work area a popup control may be wide: controls wider than this share of the work area's
    // right coordinate are cut (no limit at 0 or less). One setting for the process.
    static double s_popupWidthFactor;
    // The primary monitor's work area (SPI_GETWORKAREA); tests replace it.
    using WorkAreaFn = BOOL (*)(RECT* workArea);
    static WorkAreaFn s_pfnGetWorkArea;

protected:
    // The window the creation messages go to: the command bars' site, else the parent bar's.
    CWnd* GetSiteWindow() const;
    // Asks the site for a popup bar (10337), else makes one; the caller owns the returned reference.
    COSMCommandBar* RequestPopupBar(CString& title, UINT id) const;
    // Binds the control to the id's action, making one when the command bars use actions and the id allows.
    BOOL BindAction(COSMControl* control, UINT id, BOOL menuRules) const;
    // Takes the control out of the array, unlinks it and gives up the collection's reference.
    void TakeOut(size_t position);

    COSMCommandBar* m_parent = nullptr;
    std::vector<COSMControl*> m_controls;
    COSMCommandBars* m_commandBars = nullptr;
    COSMOriginalControls* m_originalControls = nullptr;
    BOOL m_originalFlag = FALSE;
};

// The controls a bar had when it was first filled.
class COSMOriginalControls : public COSMControls
{
    DECLARE_DYNCREATE(COSMOriginalControls)

public:
    COSMOriginalControls();
};
