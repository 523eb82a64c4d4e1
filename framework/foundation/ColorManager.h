// COSMColorManager: the one process-wide source of colours for the framework's painters. It reads the Windows
// system colours (indexes 0 to 29, as GetSysColor numbers them), derives the framework's own colours 30 to 62
// from them (blends, and pairs kept far enough apart to stay readable), detects the Windows XP or Vista visual
// style, and keeps ten gradients, 1 to 7 following that style. Painters never call GetSysColor themselves:
//
//   dc.SetTextColor(GetColorManager()->GetColor(COLOR_BTNTEXT));
//   const COSMPaintManagerColorGradient& bar = GetColorManager()->GetGradient(4);
//   RefreshColorManager();                    // after WM_SYSCOLORCHANGE or WM_THEMECHANGED
//
// Wherever an index is expected, a value above 62 is a COLORREF already and comes back unchanged, so a caller
// may pass either. The manager is meant for the user-interface thread; it takes no lock.
#pragma once

#include <windows.h>

#include <string>

#include "classlib/CmdTarget.h"
#include "framework/foundation/PaintManagerColor.h"
#include "framework/foundation/VisualStyleWrapper.h"

// What the colour manager reads of the machine: the system colours, the visual style's state and names, the
// screen's depth and the tree-view border colour of the style. The default reads the system, the styles through
// a COSMVisualStyleWrapper; a test or a preview puts in a machine of its own by overriding.
class COSMColorEnvironment
{
public:
    // On the process-wide visual-style table that follows reloads.
    COSMColorEnvironment();
    // On a visual-style table of the caller's, which must outlive the environment.
    explicit COSMColorEnvironment(COSMVisualStyleFunctions& styleFunctions);
    virtual ~COSMColorEnvironment() = default;

    COSMColorEnvironment(const COSMColorEnvironment&) = delete;
    COSMColorEnvironment& operator=(const COSMColorEnvironment&) = delete;

    // Override these.
    // A system colour, 1 to 29 (GetSysColor).
    virtual COLORREF GetSysColor(int index);
    // The screen shows 256 colours or fewer.
    virtual BOOL IsLowColorDisplay();
    virtual BOOL IsThemeActive();
    // The theme file's path and its colour scheme's name; FALSE when the query fails.
    virtual BOOL GetThemeName(std::wstring* file, std::wstring* colorScheme);
    // The border colour of the "TREEVIEW" class while the application is themed; FALSE otherwise.
    virtual BOOL GetTreeViewBorderColor(COLORREF* color);

private:
    COSMVisualStyleFunctions& m_styleFunctions;
};

class COSMColorManager : public CCmdTarget
{
    DECLARE_DYNAMIC(COSMColorManager)

public:
    static const int kColorCount = 63;
    static const int kGradientCount = 10;

    // What DetectVisualStyle finds, as GetVisualStyle reports it.
    enum VisualStyle
    {
        kStyleNone = 0,  // classic look, themes off, 256 colours or fewer, or a theme not known here
        kStyleLunaBlue = 1,
        kStyleLunaOlive = 2,
        kStyleLunaSilver = 3,
        kStyleRoyale = 4,
        kStyleAero = 5,
    };

    // Reads the system (through the process-wide table that follows reloads).
    COSMColorManager();
    // Reads the environment given, which must outlive the manager.
    explicit COSMColorManager(COSMColorEnvironment& environment);

    // The colour of an index 0 to 62; any larger value is a colour already and is returned as it is.
    COLORREF GetColor(COLORREF indexOrColor) const;
    // Reads the system colours and the visual style again and derives everything from them.
    void RefreshColors();
    // The visual style the last refresh found (a VisualStyle value); the manager has no choice of its own, so
    // both getters answer the same.
    int GetVisualStyle() const { return m_visualStyle; }
    int GetDetectedVisualStyle() const { return m_visualStyle; }
    // A switch for painters that want classic colours under any visual style: the manager only keeps it, and
    // whoever picks colours by style tests it.
    BOOL IsLunaColorsDisabled() const { return m_lunaColorsDisabled; }
    void SetLunaColorsDisabled(BOOL disabled) { m_lunaColorsDisabled = disabled; }
    // Gradient 1 to 10.
    const COSMPaintManagerColorGradient& GetGradient(int number) const { return m_gradients[number - 1]; }

    // Channel by channel: a weight below 100 is the first colour's percentage, 100 and above its per mille.
    static COLORREF BlendColors(COLORREF first, COLORREF second, int weight);
    // Whether the two colours lie strictly farther apart than threshold in the weighted colour space; with
    // scale, the threshold grows up to twice as the first colour darkens.
    static BOOL AreColorsDistinct(COLORREF first, COLORREF second, BOOL scale, float threshold);
    // 256 colours or fewer (1 to 8 bits per pixel) on the context, or on the screen when dc is null.
    static BOOL IsLowColorDisplay(HDC dc);
    // The screen of the machine the manager reads (its environment's answer): what the looks' refreshes ask, so a
    // test's machine decides it too.
    BOOL IsLowColorScreen() const { return m_environment->IsLowColorDisplay(); }

    // The machine the manager reads; a COSMColorEnvironmentScope swaps it for a test's.
    COSMColorEnvironment& GetEnvironment() const { return *m_environment; }

protected:
    // The weighted colour space: red, green and blue scaled to 195, 390 and 65, so distances follow how far
    // apart the eye sees two colours.
    static double ColorDistanceSquared(COLORREF first, COLORREF second);
    static double ColorDistance(COLORREF first, COLORREF second);
    // The threshold for a reference colour of that lightness (its distance from black): twice the threshold for
    // black, the threshold itself from 220 up.
    static double ScaleThreshold(int lightness, int threshold);
    // The colour moved along its line to black (darker) or to white (lighter), whichever leaves room, until it
    // lies the scaled threshold away from the reference; the nearest point of that line when none does.
    static COLORREF SeparateColor(COLORREF reference, COLORREF color, double threshold);
    // The colour moved straight towards the reference until it lies the scaled threshold away; unchanged when
    // it is that close already.
    static COLORREF ApproachColor(COLORREF reference, COLORREF color, double threshold);

private:
    friend class COSMColorEnvironmentScope;

    int DetectVisualStyle(BOOL lowColor);
    void RefreshSysColors();
    void RefreshDerivedColors();
    void RefreshGradientColors(BOOL lowColor);
    void RefreshTreeViewBorder();

    // Never null; replaced only by a COSMColorEnvironmentScope.
    COSMColorEnvironment* m_environment;
    COSMPaintManagerColorGradient m_gradients[kGradientCount];
    COLORREF m_colors[kColorCount] = {};
    int m_visualStyle = kStyleNone;
    BOOL m_lunaColorsDisabled = FALSE;
};

// The environment of the process-wide manager: the real system, made on first use.
COSMColorEnvironment& GetSystemColorEnvironment();

// The process-wide colour manager, made on first use and destroyed at exit.
COSMColorManager* GetColorManager();
// GetColorManager()->RefreshColors().
void RefreshColorManager();

// Puts a machine of the caller's (a test's) under the process-wide colour manager while the scope lives: the
// manager is refreshed from it on entry, and from the machine it had before on exit. Scopes nest; the environment
// must outlive the scope.
//
//   CTestMachine machine;                       // a COSMColorEnvironment with a low-colour screen
//   COSMColorEnvironmentScope scope(machine);
//   theme.RefreshMetrics();                     // reads the test's machine through GetColorManager()
class COSMColorEnvironmentScope
{
public:
    explicit COSMColorEnvironmentScope(COSMColorEnvironment& environment);
    ~COSMColorEnvironmentScope();

    COSMColorEnvironmentScope(const COSMColorEnvironmentScope&) = delete;
    COSMColorEnvironmentScope& operator=(const COSMColorEnvironmentScope&) = delete;

private:
    COSMColorEnvironment* m_previous;
};
