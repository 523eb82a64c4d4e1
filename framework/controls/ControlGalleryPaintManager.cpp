#include "framework/controls/ControlGalleryPaintManager.h"

COSMControlGalleryPaintManager::COSMControlGalleryPaintManager(COSMPaintManager* pOwner) : m_pOwner(pOwner) {}

COSMControlGalleryPaintManager::~COSMControlGalleryPaintManager() = default;

void COSMControlGalleryPaintManager::RefreshMetrics() {}
