// The main wizard page: the distribution folder, the companion kit, the owner's data, the product key and the
// image folder; "Create ISO " validates them, writes the answer files of the chosen mode and starts the build
// on a worker thread, whose progress and log the page shows.
//
// The worker never touches the page's windows: it posts its progress and log lines, and the page waits for it
// while pumping messages, so neither thread can block the other.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "classlib/ClassLib.h"
#include "wizard/IsoBuildJob.h"
#include "wizard/controls/HeadingStatic.h"
#include "wizard/controls/HoverButton.h"
#include "wizard/controls/HyperlinkStatic.h"
#include "wizard/controls/PictureLinkStatic.h"
#include "wizard/controls/ProductKeyEdit.h"
#include "wizard/UnattendSettings.h"
#include "wizard/WizardMode.h"
#include "wizard/WorkerThread.h"

class CWizardDlg : public CDialog
{
public:
    explicit CWizardDlg(CWnd* parent = nullptr);
    ~CWizardDlg() override;

    void SetMode(WizardMode mode) { m_mode = mode; }

    // The one-line log (static 1033).
    void SetLogText(const char* text);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override;

    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnSysCommand(UINT id, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnCreateIso();
    afx_msg void OnBrowseDistribution();
    afx_msg void OnBrowseKit();
    afx_msg void OnBrowseIsoFolder();
    afx_msg void OnChangeDistributionPath();
    afx_msg int OnCreate(LPCREATESTRUCT create);
    afx_msg void OnKitCheckBox();
    afx_msg void OnCancelBuild();
    afx_msg LRESULT OnIsoCreated(WPARAM, LPARAM);
    afx_msg LRESULT OnBuildProgress(WPARAM percent, LPARAM);
    afx_msg LRESULT OnBuildLog(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()

private:
    class WorkerReporter;

    // What the worker reports, posted to the page.
    static const UINT WM_BUILD_PROGRESS = WM_APP + 1;  // wParam: percent
    static const UINT WM_BUILD_LOG = WM_APP + 2;       // the text waits in the page's reporter

    void InitControls();
    BOOL LoadProductKeyFromFile(const char* path);
    bool ValidateInput();
    BOOL CreateXpAnswerFiles();
    BOOL CreateWin7AnswerFiles();
    BOOL StartIsoThread();

    CString ControlText(int id) const;
    // The text of a folder field, ready to have names joined to it.
    std::string FolderText(int id) const;
    // The attribute walk before the writers; false after showing why it failed.
    bool ClearDistributionAttributes(const std::string& dist);
    bool IsKitChecked() const;
    void ShowValidationMessage(const char* text);
    void EnableInputs(bool enable);
    void RestorePage();
    bool ConfirmCancel();
    // Stops a running worker: asks it to cancel, waits (pumping messages) up to 3 s, and only then ends it;
    // then removes an unfinished image. False when entered again from inside its own wait (nothing done).
    bool StopWorker();
    // The worker thread's body: the system starts its guarded form, so an exception ends it with a report.
    void BuildIsoImage();

    // Build state, shared with the worker. The worker is declared after what it uses, so it is stopped first.
    std::atomic<long> m_cancel{0};
    IsoBuildRequest m_request;
    std::unique_ptr<WorkerReporter> m_reporter;
    std::unique_ptr<IsoImageFile> m_imageFile;
    CWorkerThread m_worker;
    bool m_closeAfterStop = false;

    CUnattendSettings m_settings;
    WizardMode m_mode = WizardMode::WindowsXp;

    CHeadingStatic m_heading1;
    CHeadingStatic m_heading2;
    CHoverButton m_browseDistribution;
    CHoverButton m_browseKit;
    CHoverButton m_browseIsoFolder;
    CHyperlinkStatic m_webLink;
    CPictureLinkStatic m_pictureLink;
    CProductKeyEdit m_keys[5];  // left to right: 1009 .. 1013

    CString m_fullName;
    CString m_company;
    CString m_computerName;
    CString m_distributionFolder;
    CString m_kitFolder;
    HICON m_icon = nullptr;
};
