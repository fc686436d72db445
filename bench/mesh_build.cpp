// Start-up and per-frame costs of the mesh layer: building the show's larger shapes, and one
// frame's save, two waves and restore on a deformed sphere.
#include <benchmark/benchmark.h>

#include "mesh/deformers.h"
#include "mesh/shapes.h"

namespace {

void BuildSphere32(benchmark::State& state) {
    Mesh mesh;
    for (auto _ : state) {
        BuildSphere(mesh, 32, 150.0f);
        benchmark::DoNotOptimize(mesh.positions.data());
    }
}
BENCHMARK(BuildSphere32);

void BuildNestedRings(benchmark::State& state) {
    Mesh rings[6];
    for (auto _ : state) {
        for (int k = 5; k <= 10; ++k) {
            BuildTorus(rings[k - 5], 6, 14, 35.0f + 30.0f * static_cast<float>(k), 20.0f);
        }
        benchmark::DoNotOptimize(rings[5].positions.data());
    }
}
BENCHMARK(BuildNestedRings);

void DeformSphereFrame(benchmark::State& state) {
    Mesh mesh;
    BuildSphere(mesh, static_cast<int32_t>(state.range(0)), 100.0f);
    PrepareDeform(mesh);
    float phase = 0.0f;
    for (auto _ : state) {
        SavePositions(mesh);
        WaveAlongX(mesh, 0.0f, 1.0f, 0.0f, 10.0f, phase, 3.0f);
        WaveAlongZ(mesh, 1.0f, 0.0f, 0.0f, 10.0f, phase, 3.0f);
        benchmark::DoNotOptimize(mesh.positions.data());
        RestorePositions(mesh);
        phase += 1.0f;
    }
    state.SetItemsProcessed(state.iterations() * mesh.vertexCount);
}
BENCHMARK(DeformSphereFrame)->Arg(16)->Arg(32)->Arg(64);

}  // namespace

BENCHMARK_MAIN();
