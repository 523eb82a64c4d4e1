#include "ScrollTestSupport.h"

#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupType.h"

namespace markup_test {

RefPtr<COSMMarkupScrollBar> MakeBar(COSMMarkupScrollBar::Orientation orientation, int minimum, int maximum, int page,
                                    int position, const CRect& rect)
{
    RefPtr<COSMMarkupScrollBar> bar =
        AdoptRef(static_cast<COSMMarkupScrollBar*>(COSMMarkupScrollBar::GetClassType()->CreateInstance()));
    bar->SetOrientation(orientation);
    SCROLLINFO info = {sizeof(info), SIF_ALL, minimum, maximum, static_cast<UINT>(page), position, 0};
    bar->SetScrollInfo(info);
    bar->Arrange(rect);
    return bar;
}

RefPtr<COSMMarkupScrollViewer> MakeViewer(CSize contentSize, CSize room, int vertical, int horizontal,
                                          COSMMarkupContext* context)
{
    const COSMMarkupType* type = COSMMarkupScrollViewer::GetClassType();
    RefPtr<COSMMarkupScrollViewer> viewer =
        AdoptRef(static_cast<COSMMarkupScrollViewer*>(context ? context->CreateObject(type) : type->CreateInstance()));
    CProbe* probe = static_cast<CProbe*>(context ? context->CreateObject(CProbe::GetClassType())
                                                 : CProbe::GetClassType()->CreateInstance());
    probe->name = "content";
    probe->contentSize = contentSize;
    viewer->SetContent(probe);
    if (vertical >= 0)
        viewer->SetValue(COSMMarkupScrollViewer::s_pVerticalScrollBarVisibilityProperty,
                         COSMMarkupEnum::CreateValue(vertical));
    if (horizontal >= 0)
        viewer->SetValue(COSMMarkupScrollViewer::s_pHorizontalScrollBarVisibilityProperty,
                         COSMMarkupEnum::CreateValue(horizontal));
    if (room.cx > 0 || room.cy > 0)
        LayOut(viewer.Get(), room);
    return viewer;
}

void LayOut(COSMMarkupScrollViewer* viewer, CSize room)
{
    COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext);
    viewer->Measure(&measuring, room.cx, room.cy);
    viewer->Arrange(0, 0, room.cx, room.cy);
}

CProbe* ContentOf(COSMMarkupScrollViewer* viewer)
{
    return static_cast<CProbe*>(viewer->GetContent());
}

}  // namespace markup_test
