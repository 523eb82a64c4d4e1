// What the gallery tests share: a gallery on a bar of the test manager, bound to an action whose referenced object
// is a fresh item collection, laid out in a rectangle the test chooses.
#pragma once

#include "TrackingTestSupport.h"

#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/ControlActions.h"
#include "framework/controls/ControlGallery.h"
#include "framework/controls/ControlGalleryItems.h"
#include "framework/controls/ControlGalleryPaintManager.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace gallery_test {

using namespace commandbars_test;

// A gallery that counts its executions and its drop-down requests, lets a test set the scroll engine's repeat
// interval, and throws from its scroll bar's update when told to.
class TestGallery : public COSMControlGallery
{
public:
    void OnExecute() override
    {
        ++executions;
        if (executeForReal)
            COSMControlGallery::OnExecute();
    }
    // The bar's requests to open or close the drop-down, recorded (and run only when popupForReal).
    BOOL OnSetPopup(BOOL popup) override
    {
        popupRequests.push_back(popup);
        return popupForReal ? COSMControlGallery::OnSetPopup(popup) : FALSE;
    }
    void SetRepeatInterval(UINT interval) { m_repeatInterval = interval; }
    // The scroll bar's next update throws, once (an animation tick runs one).
    void UpdateScrollBar() override
    {
        if (throwOnScrollBarUpdate)
        {
            throwOnScrollBarUpdate = FALSE;
            throw std::runtime_error("scroll bar update failed");
        }
        COSMControlGallery::UpdateScrollBar();
    }
    std::vector<BOOL> popupRequests;
    BOOL throwOnScrollBarUpdate = FALSE;
    int executions = 0;
    BOOL executeForReal = FALSE;
    BOOL popupForReal = FALSE;
};

// Items of the size: a caption per entry, an entry starting with '#' a label.
inline RefPtr<COSMControlGalleryItems> MakeItems(CSize size, const std::vector<std::string>& captions)
{
    RefPtr<COSMControlGalleryItems> items = AdoptRef(new COSMControlGalleryItems);
    items->SetItemSize(size);
    int id = 1000;
    for (const std::string& caption : captions)
    {
        if (!caption.empty() && caption[0] == '#')
            items->AddLabel(caption.substr(1).c_str());
        else
            items->AddItem(id, caption.c_str());
        ++id;
    }
    return items;
}

// Adds a gallery with the id to the bar, binds it to that id's action holding the items, and places it.
inline TestGallery* AddGallery(COSMCommandBar& bar, COSMCommandBars* commandBars, UINT id,
                               COSMControlGalleryItems* items, const CRect& rect, BOOL showScrollBar = FALSE)
{
    auto* gallery = new TestGallery;
    bar.GetControls()->AddControl(gallery, static_cast<int>(id));
    COSMControlAction* action = commandBars->GetActions()->Add(id);
    action->SetReferencedObject(items);
    gallery->SetShowScrollBar(showScrollBar);
    gallery->SetAction(action);
    gallery->SetRect(rect);
    gallery->Reposition();
    return gallery;
}

}  // namespace gallery_test
