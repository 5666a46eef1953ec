// Deployment against bare zlib: unpacks a container of about 1 MB and one of about 50 MB into a
// temporary folder on the real disk through DeployPayloadFiles, and inflates the same entries
// with zlib straight into files. Prints both times, the heap that deployment needs on top of
// the container, and as its last line "ratio R" (deployment time over bare zlib time, in CPU
// time of the working thread, best of several interleaved rounds).

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "payload/container.h"
#include "payload/container_builder.h"
#include "payload/deployment.h"
#include "platform/sim/host_file_system.h"
#include "platform/sim/sim_system.h"

// Heap accounting: every allocation of the process (zlib's included) passes through here.
extern "C" void* __libc_malloc(std::size_t);
extern "C" void* __libc_calloc(std::size_t, std::size_t);
extern "C" void* __libc_realloc(void*, std::size_t);
extern "C" void __libc_free(void*);

namespace {
std::atomic<long long> heapInUse{0};
std::atomic<long long> heapPeak{0};

void Track(long long delta) {
  const long long now = heapInUse.fetch_add(delta) + delta;
  long long peak = heapPeak.load();
  while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
  }
}
}  // namespace

extern "C" void* malloc(std::size_t size) noexcept {
  void* p = __libc_malloc(size);
  if (p) Track(static_cast<long long>(malloc_usable_size(p)));
  return p;
}
extern "C" void* calloc(std::size_t count, std::size_t size) noexcept {
  void* p = __libc_calloc(count, size);
  if (p) Track(static_cast<long long>(malloc_usable_size(p)));
  return p;
}
extern "C" void* realloc(void* old, std::size_t size) noexcept {
  const long long before = old ? static_cast<long long>(malloc_usable_size(old)) : 0;
  void* p = __libc_realloc(old, size);
  if (p) {
    Track(static_cast<long long>(malloc_usable_size(p)) - before);
  } else if (size == 0) {
    Track(-before);
  }
  return p;
}
extern "C" void free(void* p) noexcept {
  if (p) Track(-static_cast<long long>(malloc_usable_size(p)));
  __libc_free(p);
}

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using installer::ContainerEntry;
using installer::ContainerWalk;
using installer::PayloadImage;

// Content that compresses like program files: runs of text, tables and noise.
std::vector<std::uint8_t> FileContent(std::size_t size, std::uint32_t seed) {
  std::vector<std::uint8_t> bytes(size);
  std::uint32_t state = seed * 2654435761u + 1;
  std::size_t i = 0;
  while (i < size) {
    state = state * 1103515245u + 12345u;
    const std::size_t run = std::min<std::size_t>(size - i, 64 + (state >> 20) % 512);
    const unsigned kind = (state >> 8) % 3;
    for (std::size_t k = 0; k < run; ++k, ++i) {
      if (kind == 0) {
        bytes[i] = static_cast<std::uint8_t>("label printer driver "[k % 21]);
      } else if (kind == 1) {
        bytes[i] = static_cast<std::uint8_t>(k & 0x0F);
      } else {
        state = state * 1103515245u + 12345u;
        bytes[i] = static_cast<std::uint8_t>(state >> 16);
      }
    }
  }
  return bytes;
}

PayloadImage MakeContainer(std::size_t targetBytes, int entries) {
  std::vector<installer::PackEntry> pack;
  // Compressed to about 35 % of their size.
  const std::size_t perEntry = targetBytes * 20 / 7 / static_cast<std::size_t>(entries);
  for (int i = 0; i < entries; ++i) {
    const std::size_t size = perEntry / 2 + perEntry * static_cast<std::size_t>(i % 5) / 4;
    pack.push_back({"file" + std::to_string(i) + (i % 2 ? ".dll" : ".dll.x64"),
                    FileContent(size, static_cast<std::uint32_t>(i + 1))});
  }
  PayloadImage image;
  std::string error;
  if (!installer::BuildContainer(pack, image.bytes, error)) {
    std::fprintf(stderr, "cannot build container: %s\n", error.c_str());
    std::exit(1);
  }
  image.size = static_cast<std::int32_t>(image.bytes.size());
  image.bytes.resize(image.bytes.size() + 16, 0);
  return image;
}

// The baseline: zlib and stdio, nothing else.
bool BareInflate(const std::uint8_t* data, std::size_t size, const std::string& path) {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  z_stream stream{};
  inflateInit(&stream);
  std::vector<std::uint8_t> buffer(16384);
  stream.next_in = const_cast<Bytef*>(data);
  stream.avail_in = static_cast<uInt>(size);
  int status = Z_OK;
  do {
    stream.next_out = buffer.data();
    stream.avail_out = static_cast<uInt>(buffer.size());
    status = inflate(&stream, Z_NO_FLUSH);
    std::fwrite(buffer.data(), 1, buffer.size() - stream.avail_out, out);
  } while (status == Z_OK);
  inflateEnd(&stream);
  std::fclose(out);
  return status == Z_STREAM_END;
}

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// CPU time of this thread (user and system): what the work costs, much less disturbed than
// wall time by other programs on a shared machine.
double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct Result {
  double deploy = 1e30;  // best wall time of the rounds
  double bare = 1e30;
  double deployCpu = 1e30;  // best CPU time of the rounds
  double bareCpu = 1e30;
  long long extraHeap = 0;
};

Result Measure(const PayloadImage& image, const fs::path& root, int rounds) {
  installer::sim::HostFileSystem files(root.string());
  installer::sim::SimSystem system;
  Result result;
  for (int round = 0; round < rounds; ++round) {
    fs::remove_all(root / "deploy");
    fs::remove_all(root / "bare");
    fs::create_directories(root / "deploy");
    fs::create_directories(root / "bare");

    // Alternate which one runs first, and start each from written-back disk state.
    for (int turn = 0; turn < 2; ++turn) {
      ::sync();
      if ((round + turn) % 2 == 0) {
        const long long before = heapInUse.load();
        heapPeak.store(before);
        const auto start = Clock::now();
        const double cpu = CpuSeconds();
        installer::DeployPayloadFiles(image, L"C:\\deploy", files, system, nullptr);
        result.deployCpu = std::min(result.deployCpu, CpuSeconds() - cpu);
        result.deploy = std::min(result.deploy, Seconds(Clock::now() - start));
        result.extraHeap = std::max(result.extraHeap, heapPeak.load() - before);
      } else {
        const auto start = Clock::now();
        const double cpu = CpuSeconds();
        ContainerWalk walk(image.bytes.data(), static_cast<std::size_t>(image.size));
        ContainerEntry entry;
        while (walk.Next(entry)) {
          if (!BareInflate(image.bytes.data() + entry.dataOffset, entry.compressedSize,
                           (root / "bare" / entry.name).string())) {
            std::fprintf(stderr, "bare inflation failed: %s\n", entry.name.c_str());
          }
        }
        result.bareCpu = std::min(result.bareCpu, CpuSeconds() - cpu);
        result.bare = std::min(result.bare, Seconds(Clock::now() - start));
      }
    }
  }
  return result;
}

}  // namespace

int main() {
  const fs::path root = fs::temp_directory_path() / ("deploy_bench_" + std::to_string(::getpid()));
  fs::create_directories(root);
  double deployTotal = 0;
  double bareTotal = 0;
  struct Size {
    const char* label;
    std::size_t bytes;
    int entries;
    int rounds;
  } sizes[] = {{"1 MB", 1u << 20, 34, 15}, {"50 MB", 50u << 20, 60, 9}};
  for (const auto& size : sizes) {
    const PayloadImage image = MakeContainer(size.bytes, size.entries);
    const Result r = Measure(image, root, size.rounds);
    std::printf(
        "container %s (%d bytes, %d entries):\n"
        "  deployment %.4f s (cpu %.4f s), bare zlib %.4f s (cpu %.4f s)\n"
        "  heap beyond the container during deployment: %.1f KiB\n",
        size.label, image.size, size.entries, r.deploy, r.deployCpu, r.bare, r.bareCpu,
        r.extraHeap / 1024.0);
    deployTotal += r.deployCpu;
    bareTotal += r.bareCpu;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak resident set %ld KiB (containers are built in memory by the benchmark)\n",
              usage.ru_maxrss);
  std::printf("cpu time in all: deployment %.4f s, bare zlib %.4f s\n", deployTotal, bareTotal);
  fs::remove_all(root);
  std::printf("ratio %.3f\n", deployTotal / bareTotal);
  return 0;
}
