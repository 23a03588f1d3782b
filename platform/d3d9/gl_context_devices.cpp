// Which contexts belong to live devices, on Linux and in a page alike.
#include <algorithm>
#include <vector>

#include "platform/d3d9/gl_context.h"

namespace d3d9 {
namespace {

std::vector<GLContext*>& DeviceContexts() {
    static std::vector<GLContext*> contexts;
    return contexts;
}

}  // namespace

void GLContext::MarkDeviceContext(bool isDevice) {
    std::vector<GLContext*>& contexts = DeviceContexts();
    auto found = std::find(contexts.begin(), contexts.end(), this);
    if (found != contexts.end()) contexts.erase(found);
    if (isDevice) contexts.push_back(this);
    deviceContext = isDevice;
}

GLContext* GLContext::AnyDeviceContext() {
    const std::vector<GLContext*>& contexts = DeviceContexts();
    return contexts.empty() ? nullptr : contexts.back();
}

}  // namespace d3d9
