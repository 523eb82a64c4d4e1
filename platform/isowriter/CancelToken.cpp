#include "isowriter/CancelToken.h"

#include "isowriter/IsoError.h"

namespace osm::iso {

void CancelToken::check() const
{
    if (requested())
        throw IsoError(ErrorCode::Cancelled, "Cancelled by the caller");
}

}  // namespace osm::iso
