// Queries: what each type allows to issue, when its answer is ready and what the answer is.

#include "Query.h"

#include "Device.h"
#include "Refusal.h"

#include <cstring>

namespace tarnelix::d3d9 {

namespace {

constexpr UINT64 kNanosecondsPerSecond = 1000000000ull;

bool beginsAndEnds(D3DQUERYTYPE type) {
    return type == D3DQUERYTYPE_OCCLUSION || type == D3DQUERYTYPE_TIMESTAMPDISJOINT;
}

} // namespace

bool Query::supports(D3DQUERYTYPE type) {
    switch (type) {
    case D3DQUERYTYPE_EVENT:
    case D3DQUERYTYPE_OCCLUSION:
    case D3DQUERYTYPE_TIMESTAMP:
    case D3DQUERYTYPE_TIMESTAMPDISJOINT:
    case D3DQUERYTYPE_TIMESTAMPFREQ:
        return true;
    default:
        return false;
    }
}

HRESULT Device::CreateQuery(D3DQUERYTYPE type, IDirect3DQuery9** query) {
    TARNELIX_D3D9_CALL();
    if (!Query::supports(type)) {
        if (query) {
            *query = nullptr;
        }
        refuseOnce("query type", static_cast<uint32_t>(type));
        return D3DERR_NOTAVAILABLE;
    }
    if (query) {
        makeCurrent();
        *query = new Query(this, type);
    }
    return D3D_OK;
}

Query::Query(Device* device, D3DQUERYTYPE type) : DeviceChild(device), type_(type) {
    if (type == D3DQUERYTYPE_OCCLUSION || type == D3DQUERYTYPE_TIMESTAMP) {
        glGenQueries(1, &query_);
    }
}

Query::~Query() {
    if (device()) {
        device()->makeCurrent();
        releaseGl();
    }
}

void Query::releaseGl() {
    stopCounting();
    if (fence_) {
        glDeleteSync(fence_);
        fence_ = nullptr;
    }
    if (query_) {
        glDeleteQueries(1, &query_);
        query_ = 0;
    }
}

HRESULT Query::GetDevice(IDirect3DDevice9** device) {
    TARNELIX_D3D9_CALL();
    return getDevice(device);
}

DWORD Query::GetDataSize() {
    switch (type_) {
    case D3DQUERYTYPE_OCCLUSION:
        return sizeof(DWORD);
    case D3DQUERYTYPE_TIMESTAMP:
    case D3DQUERYTYPE_TIMESTAMPFREQ:
        return sizeof(UINT64);
    default:
        return sizeof(BOOL); // event, disjoint
    }
}

void Query::stopCounting() {
    if (counting_) {
        glEndQuery(GL_SAMPLES_PASSED);
        counting_ = false;
        if (device() && device()->countingQuery() == this) {
            device()->setCountingQuery(nullptr);
        }
    }
}

void Query::begin() {
    if (type_ == D3DQUERYTYPE_OCCLUSION) {
        stopCounting(); // a second BEGIN starts the count again
        if (Query* other = device()->countingQuery()) {
            other->stopCounting();
        }
        glBeginQuery(GL_SAMPLES_PASSED, query_);
        counting_ = true;
        device()->setCountingQuery(this);
    }
    phase_ = Phase::Begun;
}

void Query::end() {
    switch (type_) {
    case D3DQUERYTYPE_OCCLUSION:
        if (!counting_ && phase_ != Phase::Begun) {
            begin(); // an END without a BEGIN counts nothing
        }
        stopCounting();
        break;
    case D3DQUERYTYPE_EVENT:
        if (fence_) {
            glDeleteSync(fence_);
        }
        fence_ = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
        break;
    case D3DQUERYTYPE_TIMESTAMP:
        glQueryCounter(query_, GL_TIMESTAMP);
        break;
    default:
        break;
    }
    phase_ = Phase::Ended;
}

HRESULT Query::Issue(DWORD flags) {
    TARNELIX_D3D9_CALL();
    if (!device() || (flags != D3DISSUE_BEGIN && flags != D3DISSUE_END) ||
        (flags == D3DISSUE_BEGIN && !beginsAndEnds(type_))) {
        return D3DERR_INVALIDCALL;
    }
    device()->makeCurrent();
    if (flags == D3DISSUE_BEGIN) {
        begin();
    } else {
        end();
    }
    return D3D_OK;
}

bool Query::resultReady(DWORD flags) {
    GLbitfield flush = (flags & D3DGETDATA_FLUSH) ? GL_SYNC_FLUSH_COMMANDS_BIT : 0;
    if (fence_) {
        GLenum status = glClientWaitSync(fence_, flush, 0);
        return status == GL_ALREADY_SIGNALED || status == GL_CONDITION_SATISFIED;
    }
    if (!query_) {
        return true;
    }
    GLuint available = GL_FALSE;
    glGetQueryObjectuiv(query_, GL_QUERY_RESULT_AVAILABLE, &available);
    if (!available && flush) {
        glFlush();
    }
    return available != GL_FALSE;
}

void Query::writeResult(void* data) {
    // Results are written as the runtime gives them, in the type each query's GetDataSize names.
    const auto put = [data](auto value) { std::memcpy(data, &value, sizeof(value)); };
    switch (type_) {
    case D3DQUERYTYPE_OCCLUSION: {
        GLuint samples = 0;
        glGetQueryObjectuiv(query_, GL_QUERY_RESULT, &samples);
        put(static_cast<DWORD>(samples));
        break;
    }
    case D3DQUERYTYPE_TIMESTAMP: {
        GLuint64 time = 0;
        glGetQueryObjectui64v(query_, GL_QUERY_RESULT, &time);
        put(static_cast<UINT64>(time));
        break;
    }
    case D3DQUERYTYPE_TIMESTAMPFREQ:
        put(kNanosecondsPerSecond);
        break;
    case D3DQUERYTYPE_EVENT:
        put(static_cast<BOOL>(TRUE));
        break;
    default: // TIMESTAMPDISJOINT: GL's timer never jumps under the program
        put(static_cast<BOOL>(FALSE));
        break;
    }
}

HRESULT Query::GetData(void* data, DWORD size, DWORD flags) {
    TARNELIX_D3D9_CALL();
    if (!device() || (data && size < GetDataSize()) || (!data && size != 0)) {
        return D3DERR_INVALIDCALL;
    }
    if (phase_ == Phase::Unissued) {
        // Direct3D answers a query never issued at once; nothing waits on it.
        if (data) {
            std::memset(data, 0, GetDataSize());
        }
        return S_OK;
    }
    device()->makeCurrent();
    if (phase_ == Phase::Begun) {
        if (flags & D3DGETDATA_FLUSH) {
            glFlush();
        }
        return S_FALSE;
    }
    if (!resultReady(flags)) {
        return S_FALSE;
    }
    if (data) {
        writeResult(data);
    }
    return S_OK;
}

} // namespace tarnelix::d3d9
