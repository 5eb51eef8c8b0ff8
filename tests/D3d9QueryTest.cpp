// Queries: which types a program may ask for, what each allows to issue, and that occlusion
// counts what was really drawn.

#include "D3d9TestDevice.h"

#include <gtest/gtest.h>

using namespace tarnelix::test;

namespace {

// Polls with a flush, as programs wait for a result; bounded so that a query that never
// finishes fails instead of hanging.
template <class T> HRESULT waitFor(IDirect3DQuery9* query, T& value) {
    HRESULT hr = S_FALSE;
    for (int i = 0; i < 10000000 && hr == S_FALSE; ++i) {
        hr = query->GetData(&value, sizeof(value), D3DGETDATA_FLUSH);
    }
    return hr;
}

class D3d9Query : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(t.ok());
        t.startScreenDrawing();
    }

    void drawQuad(float x0, float y0, float x1, float y1, float z) {
        ScreenVertex quad[6];
        screenQuad(quad, x0, y0, x1, y1, z, 0xFFFFFFFF);
        ASSERT_EQ(t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex)),
                  D3D_OK);
    }

    IDirect3DQuery9* create(D3DQUERYTYPE type) {
        IDirect3DQuery9* query = nullptr;
        EXPECT_EQ(t.device->CreateQuery(type, &query), D3D_OK);
        return query;
    }

    TestDevice t{32, 32};
};

TEST_F(D3d9Query, TypesAnswerSupportSizeAndWhichIssuesTheyAllow) {
    struct Row {
        D3DQUERYTYPE type;
        HRESULT support;
        DWORD size;
        bool begins;
    } rows[] = {
        {D3DQUERYTYPE_EVENT, D3D_OK, sizeof(BOOL), false},
        {D3DQUERYTYPE_OCCLUSION, D3D_OK, sizeof(DWORD), true},
        {D3DQUERYTYPE_TIMESTAMP, D3D_OK, sizeof(UINT64), false},
        {D3DQUERYTYPE_TIMESTAMPDISJOINT, D3D_OK, sizeof(BOOL), true},
        {D3DQUERYTYPE_TIMESTAMPFREQ, D3D_OK, sizeof(UINT64), false},
        {D3DQUERYTYPE_VCACHE, D3DERR_NOTAVAILABLE, 0, false},
        {D3DQUERYTYPE_VERTEXSTATS, D3DERR_NOTAVAILABLE, 0, false},
        {D3DQUERYTYPE_PIPELINETIMINGS, D3DERR_NOTAVAILABLE, 0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        EXPECT_EQ(t.device->CreateQuery(row.type, nullptr), row.support);
        IDirect3DQuery9* query = reinterpret_cast<IDirect3DQuery9*>(1);
        ASSERT_EQ(t.device->CreateQuery(row.type, &query), row.support);
        if (row.support != D3D_OK) {
            EXPECT_EQ(query, nullptr);
            continue;
        }
        EXPECT_EQ(query->GetType(), row.type);
        EXPECT_EQ(query->GetDataSize(), row.size);
        EXPECT_EQ(query->Issue(D3DISSUE_BEGIN), row.begins ? D3D_OK : D3DERR_INVALIDCALL);
        EXPECT_EQ(query->Issue(0), D3DERR_INVALIDCALL);
        EXPECT_EQ(query->Issue(D3DISSUE_END), D3D_OK);
        UINT64 data = 0;
        EXPECT_EQ(waitFor(query, data), S_OK);
        EXPECT_EQ(query->GetData(&data, row.size - 1, 0), D3DERR_INVALIDCALL);
        query->Release();
    }
}

TEST_F(D3d9Query, OcclusionCountsTheSamplesThatPassTheDepthTest) {
    struct Row {
        const char* name;
        D3DCMPFUNC depthTest;
        DWORD samples;
    } rows[] = {
        {"all pass", D3DCMP_ALWAYS, 200},
        {"in front of the cleared depth", D3DCMP_LESS, 200},
        {"none pass", D3DCMP_NEVER, 0},
        {"behind the cleared depth", D3DCMP_GREATER, 0},
    };
    IDirect3DQuery9* query = create(D3DQUERYTYPE_OCCLUSION);
    ASSERT_NE(query, nullptr);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        t.device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        t.device->SetRenderState(D3DRS_ZFUNC, row.depthTest);
        ASSERT_EQ(query->Issue(D3DISSUE_BEGIN), D3D_OK);
        drawQuad(4, 6, 14, 26, 0.5f); // 10 x 20 pixels
        ASSERT_EQ(query->Issue(D3DISSUE_END), D3D_OK);
        DWORD samples = 12345;
        ASSERT_EQ(waitFor(query, samples), S_OK);
        EXPECT_EQ(samples, row.samples);
    }
    query->Release();
}

// GL counts samples for one query at a time: a second query begun while the first counts must
// leave the first with what it had seen (and cause no GL error).
TEST_F(D3d9Query, OverlappingOcclusionQueriesEachKeepTheirCount) {
    IDirect3DQuery9* first = create(D3DQUERYTYPE_OCCLUSION);
    IDirect3DQuery9* second = create(D3DQUERYTYPE_OCCLUSION);
    ASSERT_TRUE(first && second);
    first->Issue(D3DISSUE_BEGIN);
    drawQuad(0, 0, 10, 10, 0.5f);
    second->Issue(D3DISSUE_BEGIN);
    drawQuad(10, 10, 15, 20, 0.5f);
    second->Issue(D3DISSUE_END);
    first->Issue(D3DISSUE_END);
    DWORD firstSamples = 0;
    DWORD secondSamples = 0;
    ASSERT_EQ(waitFor(first, firstSamples), S_OK);
    ASSERT_EQ(waitFor(second, secondSamples), S_OK);
    EXPECT_EQ(firstSamples, 100u);
    EXPECT_EQ(secondSamples, 50u);
    first->Release();
    second->Release();
}

TEST_F(D3d9Query, AQueryBegunButNotEndedIsPending) {
    IDirect3DQuery9* query = create(D3DQUERYTYPE_OCCLUSION);
    ASSERT_NE(query, nullptr);
    query->Issue(D3DISSUE_BEGIN);
    drawQuad(0, 0, 4, 4, 0.5f);
    DWORD samples = 0;
    EXPECT_EQ(query->GetData(&samples, sizeof(samples), D3DGETDATA_FLUSH), S_FALSE);
    EXPECT_EQ(query->GetData(nullptr, 0, D3DGETDATA_FLUSH), S_FALSE);
    query->Issue(D3DISSUE_END);
    EXPECT_EQ(waitFor(query, samples), S_OK);
    EXPECT_EQ(samples, 16u);
    query->Release();
}

TEST_F(D3d9Query, TimestampsComeInNanosecondsAndNeverDisjoint) {
    IDirect3DQuery9* disjoint = create(D3DQUERYTYPE_TIMESTAMPDISJOINT);
    IDirect3DQuery9* frequency = create(D3DQUERYTYPE_TIMESTAMPFREQ);
    IDirect3DQuery9* stamp = create(D3DQUERYTYPE_TIMESTAMP);
    ASSERT_TRUE(disjoint && frequency && stamp);
    disjoint->Issue(D3DISSUE_BEGIN);
    drawQuad(0, 0, 8, 8, 0.5f);
    stamp->Issue(D3DISSUE_END);
    disjoint->Issue(D3DISSUE_END);
    frequency->Issue(D3DISSUE_END);
    BOOL wasDisjoint = TRUE;
    UINT64 ticksPerSecond = 0;
    UINT64 time = 0;
    EXPECT_EQ(waitFor(disjoint, wasDisjoint), S_OK);
    EXPECT_EQ(wasDisjoint, FALSE);
    EXPECT_EQ(waitFor(frequency, ticksPerSecond), S_OK);
    EXPECT_EQ(ticksPerSecond, 1000000000ull);
    EXPECT_EQ(waitFor(stamp, time), S_OK);
    EXPECT_NE(time, 0u);
    disjoint->Release();
    frequency->Release();
    stamp->Release();
}

TEST_F(D3d9Query, EventsFinishAndQueriesHoldTheirDevice) {
    IDirect3DQuery9* event = create(D3DQUERYTYPE_EVENT);
    ASSERT_NE(event, nullptr);
    drawQuad(0, 0, 8, 8, 0.5f);
    event->Issue(D3DISSUE_END);
    BOOL done = FALSE;
    EXPECT_EQ(waitFor(event, done), S_OK);
    EXPECT_EQ(done, TRUE);
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(event->GetDevice(&device), D3D_OK);
    EXPECT_EQ(device, t.device);
    EXPECT_EQ(device->Release(), 1u);
    EXPECT_EQ(event->Release(), 0u);
}

} // namespace
