// COSMToolTipContextToolTip: the framework's own tooltip window (styles 2 and 5 of the tooltip context, and the base
// of the gradient, rich-text, markup and HTML tip windows). It answers the common-controls tooltip messages the
// context sends, keeps its own tools, times showing and hiding itself and draws the tip: Office looks, a bold title
// above the text, an image. Every setting (width, margins, colours, fonts, style word) is read from the context at
// the time of use.
//
// Timing: a mouse message relayed over a tool starts timer 1 with the initial delay (500 ms); the tip shows when
// the timer finds the cursor still over that tool, or at once when a tip is up or one went less than the reshow
// delay (200 ms) ago. It stays until the pointer leaves the tool (no auto-pop); a tool clicked stays quiet until the
// pointer has been over another tool. While a tip shows, a thread mouse hook notices the pointer leaving.
#pragma once

#include "classlib/Wnd.h"
#include "framework/foundation/ToolTipContext.h"

#include <memory>
#include <vector>

class COSMImageManagerIcon;

// One tool of a tip window. Two records name the same tool when hwnd and uId are equal; an empty record has hwnd 0.
struct COSMToolTipToolRecord
{
    CString strText;
    BOOL bTextCallback = FALSE;
    UINT uFlags = 0;
    CRect rect;  // client coordinates of hwnd
    HINSTANCE hinst = nullptr;
    HWND hwnd = nullptr;
    UINT_PTR uId = static_cast<UINT_PTR>(-1);
    CRect rcPlacement;  // empty: the tip goes under the cursor, else below this rectangle (client coordinates)

    BOOL IsEmpty() const { return hwnd == nullptr; }
    BOOL IsSameTool(const COSMToolTipToolRecord& other) const { return hwnd == other.hwnd && uId == other.uId; }
    void Empty() { *this = COSMToolTipToolRecord(); }
};

// How the Office 2007 look reaches the themes' resource images, which live above this library: the themes fill
// this in as the program starts. Without them the look draws its fallback colours and frame.
struct COSMToolTipOffice2007Images
{
    // The colour of key lpszKey of section lpszSection, or -1 when missing.
    COLORREF (*pfnGetImageColor)(LPCSTR lpszSection, LPCSTR lpszKey) = nullptr;
    // Draws image lpszName stretched over rcDest, keeping rcSizingMargins unscaled and leaving clrTransparent out;
    // FALSE when there is no such image.
    BOOL(*pfnDrawImage)
    (CDC* pDC, LPCSTR lpszName, const CRect& rcDest, const CRect& rcSizingMargins, COLORREF clrTransparent) = nullptr;
};

class COSMToolTipContextToolTip : public CWnd
{
    DECLARE_DYNAMIC(COSMToolTipContextToolTip)

public:
    // The timer that waits for the initial delay.
    static constexpr UINT_PTR kShowTimerId = 1;

    explicit COSMToolTipContextToolTip(COSMToolTipContext* pContext);
    // Deletes the tools and gives up the mouse hook if this window holds it.
    ~COSMToolTipContextToolTip() override;

    // A popup tool window (dwStyle | WS_POPUP) owned by pParent, of a class with CS_SAVEBITS | CS_OWNDC and, unless
    // dwStyle has the context's no-shadow bit, CS_DROPSHADOW.
    BOOL Create(CWnd* pParent, DWORD dwStyle);

    // Override these.
    // The tip's outer size for the tool; (0, 0) means there is nothing to show.
    virtual void CalcTipSize(CSize& result, COSMToolTipToolRecord& tool);
    // Image, title and text.
    virtual void DrawContent(CDC* pDC, COSMToolTipToolRecord& tool, CRect rcClient);
    // Fill and frame.
    virtual void DrawBackground(CDC* pDC, COSMToolTipToolRecord& tool, CRect rcClient);
    // After every show (TRUE) and hide (FALSE).
    virtual void OnShowTip(BOOL bShow);

    // Not meant to be overridden.
    // The timing of one relayed mouse message (TTM_RELAYEVENT).
    void RelayEvent(const MSG* pMsg);
    // Shows the tip of tool, or hides the tip for null.
    void ShowTip(COSMToolTipToolRecord* pTool);
    // The tool under the cursor (none while a mouse button is down); tools whose window died are skipped.
    COSMToolTipToolRecord* HitTestTool();
    // The tool's text; a callback tool is asked once (TTN_NEEDTEXT), its answer kept.
    CString GetToolText(COSMToolTipToolRecord& tool);
    // How far below its hot spot hCursor reaches; 21 when it cannot be read (or for no cursor).
    static int GetCursorHeight(HCURSOR hCursor);
    // Takes (TRUE) or gives up (FALSE) the calling thread's mouse hook. Each UI thread has its own, and only one
    // window of the thread holds it: taking it while another holds it, or giving it up without holding it, does
    // nothing.
    void SetMouseHook(BOOL bSet);
    // The window that holds the calling thread's mouse hook, or null.
    static COSMToolTipContextToolTip* GetMouseHookOwner();
    // The window's region becomes its rectangle less the four corner pixels.
    void SetRoundRegion(int cx, int cy);

    // The listed tool of hWnd and uId, or null.
    COSMToolTipToolRecord* FindTool(HWND hWnd, UINT_PTR uId);
    COSMToolTipContext* GetContext() const { return m_pContext; }
    const COSMToolTipToolRecord& GetShownTool() const { return m_shownTool; }
    const COSMToolTipToolRecord& GetPendingTool() const { return m_pendingTool; }
    int GetToolCount() const { return static_cast<int>(m_tools.size()); }
    const CString& GetTitle() const { return m_strTitle; }
    COSMImageManagerIcon* GetImage() const { return m_pImage; }
    int GetInitialDelay() const { return m_nInitialDelay; }
    int GetReshowDelay() const { return m_nReshowDelay; }

    // The clock of the timing (GetTickCount); tests put their own in. Null restores the system's.
    using TickFunction = DWORD (*)();
    static void SetTickFunction(TickFunction pfnTick);
    // For the themes' start-up.
    static void RegisterOffice2007Images(const COSMToolTipOffice2007Images& images);

protected:
    // The tip's width limit: the context's maximum width, the screen width for -1.
    int GetWidthLimit() const;
    // The client rectangle reduced by the context's margins and 3 on each side.
    CRect GetContentRect(CRect rcClient) const;

    afx_msg LRESULT OnAddTool(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDelTool(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnActivateTip(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRelayEvent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetTitle(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUpdateTipText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetDelayTime(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetImage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnWindowFromPoint(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTipNcHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTipMouseActivate(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    // The mouse hook's work; the system calls it through the library's guard.
    static LRESULT OnMouseHook(int nCode, WPARAM wParam, LPARAM lParam);

    std::vector<std::unique_ptr<COSMToolTipToolRecord>> m_tools;
    BOOL m_bActive = FALSE;
    COSMToolTipContext* m_pContext;
    COSMToolTipToolRecord m_shownTool;
    COSMToolTipToolRecord m_clickedTool;
    COSMToolTipToolRecord m_pendingTool;
    UINT_PTR m_nTimer = 0;
    DWORD m_dwLastShowHide = 0;
    BOOL m_bShownOrHidden = FALSE;  // m_dwLastShowHide holds a time
    int m_nInitialDelay = 500;
    int m_nReshowDelay = 200;
    CString m_strTitle;
    COSMImageManagerIcon* m_pImage = nullptr;
    BOOL m_bRegion = FALSE;
    // While a member waits on a measurement (an HTML tip pumps messages until its document loads), the flag it
    // watches; the destructor sets it, so the member returns without touching the object again.
    bool* m_pDeletedFlag = nullptr;
};
