#include "framework/controls/ControlGalleryPaintManager.h"

COSMControlGalleryPaintManager::COSMControlGalleryPaintManager(COSMPaintManager* pOwner) : COSMPartPaintManager(pOwner)
{}

COSMControlGalleryPaintManager::~COSMControlGalleryPaintManager() = default;

void COSMControlGalleryPaintManager::RefreshMetrics() {}
