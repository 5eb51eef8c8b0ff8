#pragma once

// Queries on GL query and sync objects: events are fences, occlusion counts GL's samples
// passed, timestamps are GL timer queries. GL counts time in nanoseconds, so the frequency is
// fixed and no interval is ever disjoint.

#include "ComObject.h"
#include "Gl.h"

namespace tarnelix::d3d9 {

class Query final : public ComObject<IDirect3DQuery9>, public DeviceChild {
public:
    Query(Device* device, D3DQUERYTYPE type);
    ~Query() override;

    static bool supports(D3DQUERYTYPE type);
    // Ends the GL samples-passed query early: GL counts one at a time and another one begins.
    void stopCounting();

    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override;
    D3DQUERYTYPE STDMETHODCALLTYPE GetType() override { return type_; }
    DWORD STDMETHODCALLTYPE GetDataSize() override;
    HRESULT STDMETHODCALLTYPE Issue(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetData(void* data, DWORD size, DWORD flags) override;
    void releaseGl() override;

private:
    enum class Phase { Unissued, Begun, Ended };

    void begin();
    void end();
    bool resultReady(DWORD flags);
    void writeResult(void* data);

    D3DQUERYTYPE type_;
    Phase phase_ = Phase::Unissued;
    GLuint query_ = 0;
    GLsync fence_ = nullptr;
    bool counting_ = false;
};

} // namespace tarnelix::d3d9
