#include "TestHandheld.h"

namespace vexa::test {

vexasync::ByteUtility &componentBytes()
{
    static const std::unique_ptr<vexasync::ByteUtility> bytes =
        vexasync_component(vexasync::ApiVersion)->createByteUtility();
    return *bytes;
}

} // namespace vexa::test
