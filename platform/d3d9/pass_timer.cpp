#include "platform/d3d9/pass_timer.h"

#include "platform/d3d9/gl_api.h"

namespace d3d9 {

PassTimer::~PassTimer() {
    if (!queries.empty()) glDeleteQueries(GLsizei(queries.size()), queries.data());
}

void PassTimer::SetOn(bool wanted, Method how) {
    Close();
    current.clear();
    last.clear();
    on = wanted;
    method = how;
    if (on && current.capacity() < kMaxPasses) {
        current.reserve(kMaxPasses);
        last.reserve(kMaxPasses);
    }
    if (on && method == Method::Queries && queries.empty()) {
        queries.resize(kMaxPasses);
        glGenQueries(GLsizei(kMaxPasses), queries.data());
    }
}

// Ends the open pass: its query, or its time by the clock once the GL is done.
void PassTimer::Close() {
    if (!open) return;
    open = false;
    if (method == Method::Queries) {
        glEndQuery(GL_TIME_ELAPSED);
        return;
    }
    glFinish();
    current.back().milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
}

void PassTimer::Mark(IDirect3DVertexShader9* vs, IDirect3DPixelShader9* ps, IDirect3DSurface9* target) {
    if (!on) return;
    if (!current.empty()) {
        D3D9PassTime& pass = current.back();
        if ((pass.vertexShader == vs && pass.pixelShader == ps && pass.target == target) ||
            current.size() == kMaxPasses) {
            ++pass.draws;
            return;
        }
    }
    Close();
    if (method == Method::Queries) {
        glBeginQuery(GL_TIME_ELAPSED, queries[current.size()]);
    } else {
        glFinish();  // what came before this pass is not its cost
        started = std::chrono::steady_clock::now();
    }
    open = true;
    current.push_back(D3D9PassTime{vs, ps, target, 1, 0.0});
}

void PassTimer::EndFrame() {
    if (!on) return;
    Close();
    if (method == Method::Queries) {
        for (size_t i = 0; i < current.size(); ++i) {
            GLuint64 nanoseconds = 0;
            glGetQueryObjectui64v(queries[i], GL_QUERY_RESULT, &nanoseconds);
            current[i].milliseconds = double(nanoseconds) * 1.0e-6;
        }
    }
    last.swap(current);
    current.clear();
}

}  // namespace d3d9
