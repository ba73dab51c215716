// A full 61440-byte job through the libusb backend into a printer emulated with umockdev: 15
// transfers of 4096 bytes and the empty one. It measures our per-transfer overhead (libusb, usbfs
// ioctls answered in process), not the bus, whose own floor for that job is about 51 ms.
#include <benchmark/benchmark.h>

#include <vector>

#include "printing/SerialPort.h"
#include "printing/clock.h"
#include "printing/job_stream.h"
#include "printing/libusb_driver.h"
#include "printing/virtual_ch375.h"

namespace {

using namespace qvprt::printing;

void BM_UsbWriteLargestJob(benchmark::State& state) {
    VirtualCh375 device;
    device.set_recording(false);
    LibusbDriver driver;
    CSerialPort link(driver, system_clock());
    if (!link.open()) {
        state.SkipWithError("no emulated printer");
        return;
    }
    std::vector<std::uint8_t> job(kMaxJobBytes, 0xB0);
    for (auto _ : state) {
        for (std::size_t at = 0; at < job.size(); at += kMaxTransferBytes) {
            if (!link.write_transfer(job.data() + at, kMaxTransferBytes)) {
                state.SkipWithError("transfer refused");
                return;
            }
        }
        link.write_transfer(job.data(), 0);
    }
    state.SetBytesProcessed(state.iterations() * kMaxJobBytes);
    link.close();
}
BENCHMARK(BM_UsbWriteLargestJob)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    run_under_umockdev(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
