#include "payload/FetchPayload.h"

#include <string>

#include "common/Failure.h"
#include "payload/Catalogue.h"

namespace quillfern::payload {

Bytes FetchPayload(std::int32_t index, ResourceReader& resources) {
    const std::int32_t id = PayloadId(index);
    const auto found = resources.Find(kPayloadType, id);
    if (!found) {
        // to_string, not to_wstring: the wide one formats through the C library's
        // wide printf, whose floating-point code costs the exe 27 KB.
        const std::string number = std::to_string(id);
        throw Failure(L"The embedded file " + std::wstring(kPayloadType) + L" " +
                      std::wstring(number.begin(), number.end()) + L" is missing from " +
                      L"" QF_EXE_NAME L".");
    }
    return Bytes(found->begin(), found->end());
}

}  // namespace quillfern::payload
