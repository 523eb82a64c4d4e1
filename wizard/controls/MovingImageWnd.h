// A child window that moves a bitmap across its client area, driven by an animation thread of its own, and paints it
// without flicker through an off-screen buffer. When the picture has wholly left the area on one side it comes back
// in on the other, and while it is half out its other half already shows on the far side. No dialog of the wizard
// uses one yet; it is kept as a reusable control:
//
//   m_banner.SetBitmap(IDB_KIT);
//   m_banner.SetStep(1.0, 0.0);                        // pixels per tick, here to the right
//   m_banner.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, rect, this, IDC_BANNER);   // sizing starts the thread
//
// The thread only reads the position and asks for repainting (it never waits for the window's thread), so the
// window can stop it at any time: on WM_DESTROY, and before each restart on WM_SIZE.
#pragma once

#include "classlib/ClassLib.h"
#include "classlib/ScopedHandle.h"

#include <memory>
#include <mutex>  // std::lock_guard

class CMovingImageWnd : public CWnd
{
    DECLARE_DYNAMIC(CMovingImageWnd)

public:
    CMovingImageWnd();
    // Destroys the window first, so the thread is stopped while the object is whole.
    ~CMovingImageWnd() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // The picture: a bitmap resource, or a bitmap handle the window then owns.
    BOOL SetBitmap(UINT nIDResource);
    void SetBitmap(HBITMAP hBitmap);
    // A dotted black frame in the non-client area (give the window WS_BORDER so it has one).
    void SetBorder(BOOL bBorder);
    void SetBackgroundColor(COLORREF color);
    // Time between two steps; takes effect at the next start of the thread.
    void SetTickInterval(DWORD milliseconds) { m_tickInterval = milliseconds; }
    // Pixels added to the picture's centre at every tick; the thread's next start takes them.
    void SetStep(double stepX, double stepY);
    // Offsets of the area the picture moves in, from the client rectangle.
    void SetMargins(int marginX, int marginY);
    // Moves the picture's centre (client coordinates) and repaints.
    void SetPosition(double x, double y);
    void GetPosition(double& x, double& y) const;

    // Stops a running thread (waiting for it while the window's messages from other threads are served) and, with
    // bRestart, starts a new one.
    virtual void RestartThread(BOOL bRestart);
    // A thread exists and has not ended.
    BOOL IsThreadRunning() const;
    // Id of the animation thread, 0 when there is none.
    DWORD GetAnimationThreadId() const { return m_threadId; }

protected:
    // ---- Override these ----------------------------------------------------------------------------------------
    // Called by the animation thread when it starts, with the position lock held and the area the picture moves
    // in: puts the picture in the middle of it and sets the corrections that bring it back in on the far side.
    virtual void ResetPicture(const CRect& area);

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    // The animation thread's body, started in its guarded form (GuardedCallbacks.h) with the object as parameter.
    void AnimateThreadWindow();
    void Animate(HWND hWnd, DWORD tickInterval);
    // One tick: TRUE when the position changed.
    bool Step(const CRect& area);
    void PaintTo(HDC hDC);

    CBitmap m_bitmap;
    BOOL m_border = FALSE;
    COLORREF m_backgroundColor;
    DWORD m_tickInterval = 20;

    // Guarded by m_positionLock: the thread and the painting both use them.
    double m_positionX = 0.0;
    double m_positionY = 0.0;
    double m_stepX = 1.0;
    double m_stepY = 0.0;
    double m_correctionX = 0.0;
    double m_correctionY = 0.0;
    int m_pictureWidth = 0;
    int m_pictureHeight = 0;
    int m_marginX = 0;
    int m_marginY = 0;
    mutable CCriticalSection m_positionLock;

    ScopedKernelHandle m_stopEvent;
    ScopedKernelHandle m_thread;
    DWORD m_threadId = 0;
    HWND m_threadWnd = nullptr;
    DWORD m_threadTickInterval = 0;
};
