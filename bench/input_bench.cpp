#include "input/input_rules.h"
#include "input/native_input_impl.h"
#include "platform/headless/headless_input.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace grumbo {
namespace {

void controlMapping(benchmark::State& state) {
    input::KeyStates keys{};
    input::KeyStates previous{};
    keys[static_cast<std::size_t>(Key::Space)] = true;
    keys[static_cast<std::size_t>(Key::Digit3)] = true;
    input::ControllerFrame controller;
    controller.held = pad::X;
    controller.pressed = pad::A;
    controller.stickX = 0.5f;
    const Bindings bindings;
    for (auto _ : state) {
        benchmark::DoNotOptimize(input::controlFrom(keys, previous, controller, bindings));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(controlMapping);

// The scripted devices lock a mutex per query, so these are upper bounds for
// the logic around them.
void pollFrame(benchmark::State& state) {
    auto script = std::make_shared<InputScript>();
    script->setPad(0, {pad::A, 12000, -9000});
    NativeInput::Impl input(std::make_unique<HeadlessInputDevices>(script));
    input.pass();
    for (auto _ : state) {
        benchmark::DoNotOptimize(input.poll(true));
    }
}
BENCHMARK(pollFrame);

void controllerPass(benchmark::State& state) {
    auto script = std::make_shared<InputScript>();
    NativeInput::Impl input(std::make_unique<HeadlessInputDevices>(script));
    std::uint16_t buttons = 0;
    for (auto _ : state) {
        buttons ^= pad::A;
        script->setPad(0, {buttons, 20000, 0});
        input.pass();
    }
}
BENCHMARK(controllerPass);

} // namespace
} // namespace grumbo
