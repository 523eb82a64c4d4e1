// COSMCommandBarList: a reference-counted list of bars that holds one reference to each. COSMOwnedCommandBarList is
// the manager's list of the popup bars made for it; a popup it holds knows it is owned by a list.
//
//   COSMOwnedCommandBarList* popups = new COSMOwnedCommandBarList(commandBars);
//   popups->Add(COSMPopupBar::CreatePopupBar(commandBars));   // the list takes the creator's reference
//   ...
//   popups->InternalRelease();                                 // releases every bar
//
// Bar id 0 means "no id": every popup bar is made with it, so FindById(0) finds nothing.
#pragma once

#include "classlib/CmdTarget.h"

#include <vector>

class COSMCommandBar;
class COSMCommandBars;

class COSMCommandBarList : public CCmdTarget
{
public:
    COSMCommandBarList() = default;
    ~COSMCommandBarList() override;
    COSMCommandBarList(const COSMCommandBarList&) = delete;
    COSMCommandBarList& operator=(const COSMCommandBarList&) = delete;

    int GetCount() const { return static_cast<int>(m_bars.size()); }
    // Null outside 0..count-1.
    COSMCommandBar* GetAt(int index) const;
    // Appends the bar, taking over the reference the caller holds.
    virtual void Add(COSMCommandBar* bar);
    BOOL Contains(const COSMCommandBar* bar) const;
    // The bar whose bar id is the id; null for id 0 or when none has it.
    COSMCommandBar* FindById(UINT id) const;
    // Releases every bar, then empties the list.
    void RemoveAll();

protected:
    std::vector<COSMCommandBar*> m_bars;
};

// The bar of the bars whose bar id is the id; null for id 0 or when none has it.
COSMCommandBar* FindCommandBarById(const std::vector<COSMCommandBar*>& bars, UINT id);

class COSMOwnedCommandBarList : public COSMCommandBarList
{
public:
    explicit COSMOwnedCommandBarList(COSMCommandBars* commandBars) : m_commandBars(commandBars) {}

    // Appends the bar and marks a popup bar as owned by a list.
    void Add(COSMCommandBar* bar) override;
    COSMCommandBars* GetCommandBars() const { return m_commandBars; }

private:
    COSMCommandBars* m_commandBars;
};
