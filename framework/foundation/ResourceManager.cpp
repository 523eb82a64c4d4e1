#include "framework/foundation/ResourceManager.h"

#include "classlib/Gdi.h"
#include "classlib/Menu.h"
#include "classlib/WinApp.h"
#include "framework/foundation/ProcessService.h"
#include "framework/foundation/OSVersionInfo.h"
#include "framework/foundation/LockGuard.h"
#include "framework/foundation/ResourceModuleScope.h"

#include <cstring>
#include <string>

std::atomic<HINSTANCE> COSMResourceManager::s_hResourceModule{nullptr};

namespace {

const WORD kEnglishUS = 1033;
// RT_ANICURSOR, spelled for the ANSI resource functions.
const LPCSTR kAnimatedCursorResourceType = MAKEINTRESOURCEA(21);

CString WideToAnsi(const WCHAR* pText, int nLength, UINT nCodePage)
{
    CString result;
    if (nLength <= 0)
        return result;
    const int nBytes = ::WideCharToMultiByte(nCodePage, 0, pText, nLength, nullptr, 0, nullptr, nullptr);
    if (nBytes <= 0)
        return result;
    const int nWritten =
        ::WideCharToMultiByte(nCodePage, 0, pText, nLength, result.GetBuffer(nBytes), nBytes, nullptr, nullptr);
    result.ReleaseBuffer(nWritten > 0 ? nWritten : 0);
    return result;
}

// The resource enumeration: stop at the first language that is neither neutral nor 1033. The callbacks run
// inside the system's enumeration, so nothing may unwind out of them.
bool KeepSearching(WORD wFound)
{
    return wFound == 0 || wFound == kEnglishUS;
}

BOOL CALLBACK OnResourceLanguage(HMODULE, LPCSTR, LPCSTR, WORD wLanguage, LONG_PTR lParam) noexcept
{
    WORD& wFound = *reinterpret_cast<WORD*>(lParam);
    if (wLanguage != 0)
        wFound = wLanguage;
    return KeepSearching(wFound);
}

BOOL CALLBACK OnResourceName(HMODULE hModule, LPCSTR lpszType, LPSTR lpszName, LONG_PTR lParam) noexcept
{
    ::EnumResourceLanguagesA(hModule, lpszType, lpszName, OnResourceLanguage, lParam);
    return KeepSearching(*reinterpret_cast<WORD*>(lParam));
}

BOOL CALLBACK OnResourceType(HMODULE hModule, LPSTR lpszType, LONG_PTR lParam) noexcept
{
    ::EnumResourceNamesA(hModule, lpszType, OnResourceName, lParam);
    return KeepSearching(*reinterpret_cast<WORD*>(lParam));
}

}  // namespace

COSMResourceManager::COSMResourceManager() : m_pLanguage(::GetLanguageInfo(kEnglishUS))
{
    ::InitializeCriticalSection(&m_cursorLock);
    LOGFONTA iconFont{};
    if (::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(iconFont), &iconFont, 0))
        m_nIconTitleCharset = iconFont.lfCharSet;
}

COSMResourceManager::~COSMResourceManager()
{
    // Close is virtual, but a derived class is gone by now: this runs our own.
    COSMResourceManager::Close();
    for (const auto& entry : m_cursors)
    {
        if (entry.second)
            ::DestroyCursor(entry.second);
    }
    ::DeleteCriticalSection(&m_cursorLock);
}

HINSTANCE COSMResourceManager::FindResourceModule(LPCSTR lpszName, LPCSTR lpszType)
{
    HINSTANCE hModule = GetResourceHandle();
    if (hModule && ::FindResourceA(hModule, lpszName, lpszType))
        return hModule;
    return AfxGetResourceHandle();
}

CString COSMResourceManager::LoadStringValue(UINT nID, BOOL* pbMissing)
{
    CString text;
    const BOOL bLoaded = LoadString(&text, nID);
    if (pbMissing)
        *pbMissing = !bLoaded;
    return text;
}

BOOL COSMResourceManager::LoadString(CString* pString, UINT nID)
{
    if (!pString)
        return FALSE;
    HINSTANCE hModule = GetResourceHandle();
    if (hModule && LoadStringFromModule(hModule, nID, *pString) > 0)
        return TRUE;
    return pString->LoadString(nID);
}

BOOL COSMResourceManager::LoadMenu(CMenu* pMenu, UINT nID)
{
    if (!pMenu || pMenu->m_hMenu)
        return FALSE;
    HINSTANCE hModule = FindResourceModule(MAKEINTRESOURCEA(nID), RT_MENU);
    return pMenu->Attach(::LoadMenuA(hModule, MAKEINTRESOURCEA(nID)));
}

BOOL COSMResourceManager::LoadToolBar(COSMToolBarLoader* pToolBar, UINT nID)
{
    if (!pToolBar)
        return FALSE;
    COSMResourceModuleScope scope;
    return pToolBar->LoadToolBar(nID, TRUE);
}

BOOL COSMResourceManager::LoadBitmap(CBitmap* pBitmap, UINT nID)
{
    if (!pBitmap || pBitmap->m_hObject)
        return FALSE;
    HINSTANCE hModule = FindResourceModule(MAKEINTRESOURCEA(nID), RT_BITMAP);
    return pBitmap->Attach(::LoadBitmapA(hModule, MAKEINTRESOURCEA(nID)));
}

HCURSOR COSMResourceManager::LoadCursor(UINT nID)
{
    // The system shares the cursors LoadCursor loads only for plain cursor resources: one stored as an animated
    // cursor, as the framework's own are, comes back as a new cursor from every call (Wine), and every command-bars
    // manager, customize drag and image editor asks for its cursors again. So each is loaded once, kept here and
    // destroyed with the manager: callers never free what this answers.
    LPCSTR lpszName = MAKEINTRESOURCEA(nID);
    HINSTANCE hModule = FindResourceModule(lpszName, RT_GROUP_CURSOR);
    if (HINSTANCE hFramework = GetResourceHandle();
        hFramework && hModule != hFramework && ::FindResourceA(hFramework, lpszName, kAnimatedCursorResourceType))
        hModule = hFramework;
    COSMLockGuard lock(m_cursorLock);
    HCURSOR& hCursor = m_cursors[{hModule, nID}];
    if (!hCursor)
        hCursor = static_cast<HCURSOR>(::LoadImageA(hModule, lpszName, IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
    return hCursor;
}

HGLOBAL COSMResourceManager::FindDialogTemplate(LPCSTR lpszTemplateName)
{
    HINSTANCE hModule = FindResourceModule(lpszTemplateName, RT_DIALOG);
    HRSRC hResource = ::FindResourceA(hModule, lpszTemplateName, RT_DIALOG);
    return hResource ? ::LoadResource(hModule, hResource) : nullptr;
}

LPCDLGTEMPLATE COSMResourceManager::LoadDialogTemplate(UINT nID)
{
    HGLOBAL hTemplate = FindDialogTemplate(MAKEINTRESOURCEA(nID));
    return hTemplate ? static_cast<LPCDLGTEMPLATE>(::LockResource(hTemplate)) : nullptr;
}

BOOL COSMResourceManager::LoadHTML(CString* pText, UINT nID)
{
    if (!pText)
        return FALSE;
    pText->Empty();
    HINSTANCE hModule = FindResourceModule(MAKEINTRESOURCEA(nID), RT_HTML);
    HRSRC hResource = ::FindResourceA(hModule, MAKEINTRESOURCEA(nID), RT_HTML);
    if (!hResource)
        return FALSE;
    const DWORD nSize = ::SizeofResource(hModule, hResource);
    HGLOBAL hData = ::LoadResource(hModule, hResource);
    const void* pData = hData ? ::LockResource(hData) : nullptr;
    if (!pData || nSize == 0)
        return FALSE;
    std::memcpy(pText->GetBufferSetLength(static_cast<int>(nSize)), pData, nSize);
    pText->ReleaseBuffer(static_cast<int>(nSize));
    return TRUE;
}

HICON COSMResourceManager::LoadIconById(UINT nID, int cx, int cy)
{
    return LoadIcon(MAKEINTRESOURCEA(nID), cx, cy);
}

HICON COSMResourceManager::LoadIcon(LPCSTR lpszResourceName, int cx, int cy)
{
    HINSTANCE hModule = FindResourceModule(lpszResourceName, RT_GROUP_ICON);
    return static_cast<HICON>(::LoadImageA(hModule, lpszResourceName, IMAGE_ICON, cx, cy, 0));
}

HICON COSMResourceManager::CreateIconFromResource(HINSTANCE hModule, LPCSTR lpszResourceName, int cx, int cy)
{
    if (!hModule)
        hModule = FindResourceModule(lpszResourceName, RT_GROUP_ICON);
    HRSRC hGroup = ::FindResourceA(hModule, lpszResourceName, RT_GROUP_ICON);
    HGLOBAL hGroupData = hGroup ? ::LoadResource(hModule, hGroup) : nullptr;
    auto* pDirectory = hGroupData ? static_cast<PBYTE>(::LockResource(hGroupData)) : nullptr;
    if (!pDirectory)
        return nullptr;
    const int nIconID = ::LookupIconIdFromDirectoryEx(pDirectory, TRUE, cx, cy, 0);
    HRSRC hIcon = nIconID ? ::FindResourceA(hModule, MAKEINTRESOURCEA(nIconID), RT_ICON) : nullptr;
    HGLOBAL hIconData = hIcon ? ::LoadResource(hModule, hIcon) : nullptr;
    auto* pBits = hIconData ? static_cast<PBYTE>(::LockResource(hIconData)) : nullptr;
    if (!pBits)
        return nullptr;
    return ::CreateIconFromResourceEx(pBits, ::SizeofResource(hModule, hIcon), TRUE, 0x30000, cx, cy, 0);
}

void COSMResourceManager::Close()
{
    if (m_hResourceLibrary)
    {
        ::FreeLibrary(m_hResourceLibrary);
        m_hResourceLibrary = nullptr;
    }
}

WORD COSMResourceManager::GetResourcesLangID() const
{
    const OSM_LANGUAGE_INFO* pInfo = GetLanguageInfo();
    return pInfo ? pInfo->wLanguage : 0;
}

void COSMResourceManager::UpdateResourcesLangID()
{
    SetResourceLanguage(GetModuleResourceLanguage(GetResourceHandle()));
}

void COSMResourceManager::SetResourceLanguage(WORD wLanguage)
{
    const OSM_LANGUAGE_INFO* pInfo = ::GetLanguageInfo(wLanguage);
    m_pLanguage.store(pInfo ? pInfo : ::GetLanguageInfo(kEnglishUS));
}

UINT COSMResourceManager::GetCodePage() const
{
    const OSM_LANGUAGE_INFO* pInfo = GetLanguageInfo();
    return pInfo ? pInfo->nCodePage : CP_ACP;
}

BYTE COSMResourceManager::GetFontCharset() const
{
    const OSM_LANGUAGE_INFO* pInfo = GetLanguageInfo();
    return pInfo && m_bLanguageCharset ? pInfo->nFontCharSet : m_nIconTitleCharset;
}

int COSMResourceManager::LoadStringFromModule(HINSTANCE hModule, UINT nID, CString& rString) const
{
    rString.Empty();
    // Strings are stored sixteen to a block: block (id / 16) + 1 holds them as counted UTF-16 entries.
    LPCSTR lpszBlock = MAKEINTRESOURCEA(((nID >> 4) & 0xFFFF) + 1);
    HRSRC hBlock = ::FindResourceA(hModule, lpszBlock, RT_STRING);
    HGLOBAL hData = hBlock ? ::LoadResource(hModule, hBlock) : nullptr;
    const auto* pEntry = hData ? static_cast<const WCHAR*>(::LockResource(hData)) : nullptr;
    if (!pEntry)
        return 0;
    const WCHAR* pEnd = pEntry + ::SizeofResource(hModule, hBlock) / sizeof(WCHAR);

    // An entry's characters must lie inside the block; a length that runs past it counts as past the end.
    for (UINT nSkip = nID & 15; nSkip > 0; --nSkip)
    {
        if (pEntry >= pEnd || *pEntry >= pEnd - pEntry)
            return 0;
        pEntry += 1 + *pEntry;
    }
    if (pEntry >= pEnd || *pEntry == 0 || *pEntry >= pEnd - pEntry)
        return 0;
    rString = WideToAnsi(pEntry + 1, *pEntry, GetCodePage());
    return rString.GetLength();
}

int COSMResourceManager::GetMenuString(CMenu* pMenu, UINT nIDItem, CString& rString, UINT nFlags) const
{
    rString.Empty();
    HMENU hMenu = pMenu ? pMenu->GetSafeHmenu() : nullptr;
    if (!hMenu)
        return 0;
    const OSM_LANGUAGE_INFO* pInfo = GetLanguageInfo();
    if (pInfo && GetOSVersionInfo()->IsWin2KOrGreater())
    {
        // Read as UTF-16 and convert with the language's code page, which may need more bytes per character than
        // the system's: the converter says how many.
        const int nWide = ::GetMenuStringW(hMenu, nIDItem, nullptr, 0, nFlags);
        if (nWide <= 0)
            return 0;
        std::wstring text(static_cast<size_t>(nWide) + 1, L'\0');
        const int nRead = ::GetMenuStringW(hMenu, nIDItem, &text[0], nWide + 1, nFlags);
        rString = WideToAnsi(text.c_str(), nRead, pInfo->nCodePage);
        return rString.GetLength();
    }
    const int nLength = ::GetMenuStringA(hMenu, nIDItem, nullptr, 0, nFlags);
    if (nLength <= 0)
        return 0;
    const int nRead = ::GetMenuStringA(hMenu, nIDItem, rString.GetBuffer(2 * nLength + 1), 2 * nLength + 2, nFlags);
    rString.ReleaseBuffer(nRead > 0 ? nRead : 0);
    return rString.GetLength();
}

int COSMResourceManager::ShowMessageBox(LPCSTR lpszText, UINT nType)
{
    const UINT nCodePage = GetCodePage();
    if (nCodePage == 1255 || nCodePage == 1256)  // Hebrew, Arabic
        nType |= MB_RTLREADING;
    return DoMessageBox(lpszText, nType, 0);
}

int COSMResourceManager::ShowMessageBoxById(UINT nID, UINT nType)
{
    CString text;
    LoadString(&text, nID);
    return ShowMessageBox(text, nType);
}

int COSMResourceManager::DoMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp)
{
    return AfxMessageBox(lpszText, nType, nIDHelp);
}

WORD COSMResourceManager::GetModuleResourceLanguage(HMODULE hModule)
{
    if (!hModule)
        hModule = ::GetModuleHandleA(nullptr);
    WORD wFound = 0;
    ::EnumResourceTypesA(hModule, OnResourceType, reinterpret_cast<LONG_PTR>(&wFound));
    return wFound;
}

COSMResourceManager* CreateResourceManager()
{
    return OsmProcessService<COSMResourceManager>();
}

COSMResourceManager* GetResourceManager()
{
    return CreateResourceManager();
}
