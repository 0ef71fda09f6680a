#include "leaderboard/rate_limiter.h"

#include <algorithm>
#include <cmath>

namespace {

// Past this many addresses, those whose buckets are full again are forgotten.
constexpr size_t kAddressesRemembered = 10000;

}  // namespace

bool RateLimiter::Take(const std::string& address, std::chrono::steady_clock::time_point now,
                       int* waitSeconds) {
  std::lock_guard<std::mutex> lock(mutex_);
  const double perSecond = perMinute_ / 60;
  const auto fill = [&](Bucket& bucket) {
    const double seconds = std::chrono::duration<double>(now - bucket.filled).count();
    bucket.tokens = std::min(perMinute_, bucket.tokens + seconds * perSecond);
    bucket.filled = now;
  };
  if (buckets_.size() > kAddressesRemembered) {
    std::erase_if(buckets_, [&](const auto& entry) {
      Bucket bucket = entry.second;
      fill(bucket);
      return bucket.tokens >= perMinute_;
    });
  }
  auto [found, fresh] = buckets_.try_emplace(address, Bucket{perMinute_, now});
  Bucket& bucket = found->second;
  if (!fresh) fill(bucket);
  if (bucket.tokens >= 1) {
    bucket.tokens -= 1;
    return true;
  }
  *waitSeconds = static_cast<int>(std::ceil((1 - bucket.tokens) / perSecond));
  return false;
}
