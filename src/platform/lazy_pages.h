// A table of 256-entry pages over the Basic Multilingual Plane, each page filled on its first
// use; reading is safe from several threads.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>

namespace zavrik {

template <typename Entry>
class LazyPages {
 public:
  using Page = std::array<Entry, 256>;
  LazyPages() = default;
  LazyPages(const LazyPages&) = delete;
  LazyPages& operator=(const LazyPages&) = delete;
  ~LazyPages() {
    for (auto& page : pages_) delete page.load();
  }

  // The entry of `ch` (below 0x10000); `fill(page_index, page)` fills a page the first time.
  template <typename Fill>
  const Entry& At(char32_t ch, const Fill& fill) const {
    const unsigned index = static_cast<unsigned>(ch >> 8) & 0xFF;
    const Page* page = pages_[index].load(std::memory_order_acquire);
    return (page ? *page : Filled(index, fill))[ch & 0xFF];
  }

 private:
  template <typename Fill>
  const Page& Filled(unsigned index, const Fill& fill) const {
    std::lock_guard lock(mutex_);
    if (const Page* page = pages_[index].load()) return *page;
    auto page = std::make_unique<Page>();
    fill(index, *page);
    pages_[index].store(page.get(), std::memory_order_release);
    return *page.release();
  }

  mutable std::array<std::atomic<const Page*>, 256> pages_{};
  mutable std::mutex mutex_;
};

}  // namespace zavrik
