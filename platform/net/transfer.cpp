#include "platform/net/transfer.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "platform/net/curl_setup.h"

namespace platform::net {
namespace {

constexpr int kPollMs = 100;

std::string_view trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool is_location(std::string_view name) {
  return name.size() == 8 && strncasecmp(name.data(), "Location", 8) == 0;
}

}  // namespace

struct Transfer::Handles {
  CURL* easy = nullptr;
  CURLM* multi = nullptr;
  detail::HeaderList header_list;
  bool added = false;
  ~Handles() {
    if (added) curl_multi_remove_handle(multi, easy);
    if (easy != nullptr) curl_easy_cleanup(easy);
    if (multi != nullptr) curl_multi_cleanup(multi);
  }
};

Transfer::Transfer() : handles_(std::make_unique<Handles>()) {}
Transfer::~Transfer() = default;

std::unique_ptr<Transfer> Transfer::create(const Request& request, Failure* failure) {
  detail::init_curl_once();
  std::unique_ptr<Transfer> t(new Transfer());
  Handles& h = *t->handles_;
  h.easy = curl_easy_init();
  h.multi = curl_multi_init();
  if (h.easy == nullptr || h.multi == nullptr) {
    *failure = Failure::out_of_memory;
    return nullptr;
  }
  t->request_body_ = request.body;
  t->follow_redirects_ = request.follow_redirects;
  t->timeouts_ = request.timeouts;
  t->cancel_ = request.cancel;
  *failure = detail::configure(h.easy, request, t->request_body_, &h.header_list);
  if (*failure != Failure::none) return nullptr;
  curl_easy_setopt(h.easy, CURLOPT_HEADERFUNCTION, &Transfer::on_header);
  curl_easy_setopt(h.easy, CURLOPT_HEADERDATA, t.get());
  curl_easy_setopt(h.easy, CURLOPT_WRITEFUNCTION, &Transfer::on_body);
  curl_easy_setopt(h.easy, CURLOPT_WRITEDATA, t.get());
  if (curl_multi_add_handle(h.multi, h.easy) != CURLM_OK) {
    *failure = Failure::other;
    return nullptr;
  }
  h.added = true;
  return t;
}

std::size_t Transfer::on_header(char* data, std::size_t size, std::size_t count, void* self) {
  static_cast<Transfer*>(self)->header_line(std::string_view(data, size * count));
  return size * count;
}

std::size_t Transfer::on_body(char* data, std::size_t size, std::size_t count, void* self) {
  auto* t = static_cast<Transfer*>(self);
  std::size_t n = size * count;
  t->last_activity_ = std::chrono::steady_clock::now();
  t->heard_from_server_ = true;
  t->headers_done_ = true;
  if (t->sink_ != nullptr && t->buffered() == 0) {
    if ((*t->sink_)(std::string_view(data, n))) return n;
    t->sink_refused_ = true;
    return 0;  // libcurl ends the transfer
  }
  if (t->consumed_ > 0 && t->consumed_ * 2 >= t->body_.size()) {
    t->body_.erase(0, t->consumed_);
    t->consumed_ = 0;
  }
  t->body_.append(data, n);
  return n;
}

void Transfer::header_line(std::string_view line) {
  last_activity_ = std::chrono::steady_clock::now();
  heard_from_server_ = true;
  std::string_view text = trim(line);
  if (line.starts_with("HTTP/")) {
    // A new response (after an interim reply or a redirect) replaces the one before.
    headers_.clear();
    header_lines_.clear();
    status_line_.assign(text);
    status_ = 0;
    status_text_.clear();
    std::size_t space = text.find(' ');
    if (space != std::string_view::npos) {
      std::string_view rest = text.substr(space + 1);
      std::size_t i = 0;
      while (i < rest.size() && i < 3 && rest[i] >= '0' && rest[i] <= '9')
        status_ = status_ * 10 + (rest[i++] - '0');
      status_text_.assign(trim(rest.substr(i)));
    }
    return;
  }
  if (text.empty()) {
    bool interim = status_ >= 100 && status_ < 200;
    bool redirect = follow_redirects_ &&
                    (status_ == 301 || status_ == 302 || status_ == 303 || status_ == 307 || status_ == 308);
    bool has_location = std::any_of(headers_.begin(), headers_.end(),
                                    [](const ResponseHeader& h) { return is_location(h.name); });
    if (!interim && !(redirect && has_location)) headers_done_ = true;
    return;
  }
  if ((line.front() == ' ' || line.front() == '\t') && !headers_.empty()) {
    headers_.back().value += ' ';
    headers_.back().value += text;
  } else {
    std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return;
    headers_.push_back({std::string(trim(text.substr(0, colon))), std::string(trim(text.substr(colon + 1)))});
  }
  header_lines_.emplace_back(text);
}

std::string Transfer::raw_headers() const {
  std::string out = status_line_ + "\r\n";
  for (const std::string& line : header_lines_) out += line + "\r\n";
  return out + "\r\n";
}

bool Transfer::connected() const {
  if (heard_from_server_) return true;
  curl_off_t connect_time = 0;
  curl_easy_getinfo(handles_->easy, CURLINFO_CONNECT_TIME_T, &connect_time);
  return connect_time > 0;
}

void Transfer::finish(Failure failure) {
  if (finished_) return;
  finished_ = true;
  failure_ = sink_refused_ ? Failure::sink_refused : failure;
  curl_multi_remove_handle(handles_->multi, handles_->easy);
  handles_->added = false;
}

template <class Done>
void Transfer::drive(Done done) {
  CURLM* multi = handles_->multi;
  last_activity_ = std::chrono::steady_clock::now();
  while (!done() && !finished_) {
    int running = 0;
    if (curl_multi_perform(multi, &running) != CURLM_OK) {
      finish(Failure::other);
      return;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
      if (message->msg == CURLMSG_DONE) finish(detail::failure_of(message->data.result));
    }
    if (done() || finished_) return;
    if (cancel_ != nullptr && cancel_->load()) {
      finish(Failure::cancelled);
      return;
    }
    // Until the connection stands, the connect time-out is the one that counts.
    auto now = std::chrono::steady_clock::now();
    if (!connected()) last_activity_ = now;
    if (timeouts_.idle_ms > 0 && now - last_activity_ > std::chrono::milliseconds(timeouts_.idle_ms)) {
      finish(Failure::timed_out);
      return;
    }
    curl_multi_poll(multi, nullptr, 0, kPollMs, nullptr);
  }
}

Failure Transfer::start() {
  drive([this] { return headers_done_; });
  if (headers_done_) return Failure::none;
  if (finished_ && failure_ == Failure::none) return status_ != 0 ? Failure::none : Failure::invalid_reply;
  return failure_ != Failure::none ? failure_ : Failure::other;
}

Failure Transfer::read(char* out, std::size_t want, std::size_t* got) {
  *got = 0;
  drive([this, want] { return buffered() >= want; });
  std::size_t n = std::min(want, buffered());
  if (n == 0) return finished_ ? failure_ : Failure::none;
  std::memcpy(out, body_.data() + consumed_, n);
  consumed_ += n;
  *got = n;
  return Failure::none;
}

Failure Transfer::receive(const Sink& sink) {
  if (buffered() > 0) {
    if (!sink(std::string_view(body_).substr(consumed_))) {
      sink_refused_ = true;
      finish(Failure::sink_refused);
      return failure_;
    }
    body_.clear();
    consumed_ = 0;
  }
  sink_ = &sink;
  drive([] { return false; });
  sink_ = nullptr;
  return failure_;
}

}  // namespace platform::net
