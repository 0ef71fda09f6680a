// A request the front has read whole, as httplib's answering code reads it: its bytes from
// memory, the answer written to the client's socket within a deadline.
#pragma once

#include <httplib.h>

#include <chrono>

#include "leaderboard/http_front.h"

class HeldRequestStream : public httplib::Stream {
 public:
  explicit HeldRequestStream(const FrontRequest& request);

  bool is_readable() const override { return at_ < request_.bytes.size(); }
  bool is_writable() const override;
  ssize_t read(char* bytes, size_t size) override;
  ssize_t write(const char* bytes, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override { return request_.socket; }

 private:
  const FrontRequest& request_;
  size_t at_ = 0;
  // A client that reads its answer slowly holds an answering thread no longer than this.
  std::chrono::steady_clock::time_point deadline_;
};
