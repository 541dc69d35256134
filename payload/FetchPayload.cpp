#include "payload/FetchPayload.h"

#include <string>

#include "common/Failure.h"
#include "payload/Catalogue.h"

namespace quillfern::payload {

Bytes FetchPayload(std::int32_t index, ResourceReader& resources) {
    const std::int32_t id = PayloadId(index);
    const auto found = resources.Find(kPayloadType, id);
    if (!found) {
        throw Failure(L"The embedded file " + std::wstring(kPayloadType) + L" " +
                      std::to_wstring(id) + L" is missing from " + L"" QF_EXE_NAME L".");
    }
    return Bytes(found->begin(), found->end());
}

}  // namespace quillfern::payload
