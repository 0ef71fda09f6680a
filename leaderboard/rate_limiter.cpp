#include "leaderboard/rate_limiter.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Past this many addresses, those whose buckets are full again are forgotten.
constexpr size_t kAddressesRemembered = 10000;

// The smallest amount that counts as something left.
constexpr double kSomething = 1e-9;

double WallSeconds() {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

}  // namespace

RateLimiter::Bucket& RateLimiter::Filled(const std::string& address, std::chrono::steady_clock::time_point now) {
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
  if (!fresh) fill(found->second);
  return found->second;
}

bool RateLimiter::TakeAtLeast(const std::string& address, std::chrono::steady_clock::time_point now,
                              double least, double amount, int* waitSeconds) {
  double left = 0;
  if (shared_) {
    // The servers share the wall clock, not their steady ones.
    left = shared_->TakeFromBucket(kind_, address, perMinute_, WallSeconds(), least, amount);
  } else {
    std::lock_guard<std::mutex> lock(mutex_);
    Bucket& bucket = Filled(address, now);
    left = bucket.tokens;
    if (left >= least) bucket.tokens -= amount;
  }
  if (left >= least) return true;
  *waitSeconds = static_cast<int>(std::ceil((least - left) / (perMinute_ / 60)));
  return false;
}

bool RateLimiter::Take(const std::string& address, std::chrono::steady_clock::time_point now,
                       int* waitSeconds) {
  return TakeAtLeast(address, now, 1, 1, waitSeconds);
}

bool RateLimiter::Left(const std::string& address, std::chrono::steady_clock::time_point now,
                       int* waitSeconds) {
  return TakeAtLeast(address, now, kSomething, 0, waitSeconds);
}

void RateLimiter::Spend(const std::string& address, std::chrono::steady_clock::time_point now, double amount) {
  int unused = 0;
  TakeAtLeast(address, now, -std::numeric_limits<double>::infinity(), amount, &unused);
}
