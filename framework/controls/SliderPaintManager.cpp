#include "framework/controls/SliderPaintManager.h"

COSMSliderPaintManager::COSMSliderPaintManager(COSMPaintManager* pOwner) : COSMPartPaintManager(pOwner) {}

COSMSliderPaintManager::~COSMSliderPaintManager() = default;

void COSMSliderPaintManager::RefreshMetrics() {}
