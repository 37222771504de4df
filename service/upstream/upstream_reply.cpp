#include "service/upstream/upstream_reply.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace lyr::service {

namespace {

using json = nlohmann::json;

// A record's fields as read so far.
struct Record {
  std::uint64_t id = 0;
  std::string name, track_name, artist, album, plain, synced;
  std::optional<double> duration;
  bool instrumental = false;

  Track track() && {
    Track t;
    t.id = id;
    t.title = std::move(track_name.empty() ? name : track_name);
    t.artist = std::move(artist);
    t.album = std::move(album);
    t.duration = duration;
    t.instrumental = instrumental;
    if (!plain.empty()) t.plain = std::move(plain);
    if (!synced.empty()) t.synced = std::move(synced);
    return t;
  }
};

enum class Kind { id, text, duration, instrumental };

struct Field {
  std::string_view key;
  Kind kind;
  std::string Record::*text = nullptr;
};

// The record fields kept; nullptr for any other key.
const Field* field_of(std::string_view key) {
  static constexpr Field kFields[] = {
      {"id", Kind::id},
      {"name", Kind::text, &Record::name},
      {"trackName", Kind::text, &Record::track_name},
      {"artistName", Kind::text, &Record::artist},
      {"albumName", Kind::text, &Record::album},
      {"duration", Kind::duration},
      {"instrumental", Kind::instrumental},
      {"plainLyrics", Kind::text, &Record::plain},
      {"syncedLyrics", Kind::text, &Record::synced},
  };
  for (const Field& field : kFields)
    if (field.key == key) return &field;
  return nullptr;
}

// A value as the event gave it: what a field needs to know of it.
struct Value {
  std::string* text = nullptr;
  std::optional<std::uint64_t> positive_integer;
  std::optional<double> number;
  std::optional<bool> flag;
};

// nlohmann's event interface. Records are the objects at `record_depth` (1: the reply is one,
// 2: they are the elements of the reply's array).
class ReplyReader {
 public:
  explicit ReplyReader(std::size_t record_depth) : record_depth_(record_depth) {}

  bool null() { return value({}); }
  bool boolean(bool b) {
    Value v;
    v.flag = b;
    return value(v);
  }
  bool number_integer(json::number_integer_t n) { return number(static_cast<double>(n)); }
  bool number_unsigned(json::number_unsigned_t n) { return number(static_cast<double>(n), n); }
  bool number_float(json::number_float_t n, const std::string&) { return number(n); }
  bool string(std::string& s) {
    Value v;
    v.text = &s;
    return value(v);
  }
  bool binary(json::binary_t&) { return value({}); }

  bool start_object(std::size_t) { return open(true); }
  bool start_array(std::size_t) { return open(false); }
  bool key(std::string& k) {
    if (in_record_ && depth_ == record_depth_) field_ = field_of(k);
    return true;
  }
  bool end_object() { return close(); }
  bool end_array() { return close(); }

  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) {
    error_ = std::string("not JSON: ") + e.what();
    return false;
  }

  const std::string& error() const { return error_; }
  bool top_is_array() const { return top_ == Top::array; }
  std::vector<Track>& tracks() { return tracks_; }
  std::size_t records() const { return records_; }

 private:
  enum class Top { none, array, object, scalar };

  bool open(bool object) {
    if (depth_ == 0) top_ = object ? Top::object : Top::array;
    value({});  // a container where a field's value should be is not one
    if (++depth_ > kMaxReplyDepth) {
      error_ = "a reply nested deeper than " + std::to_string(kMaxReplyDepth) + " levels";
      return false;
    }
    bool in_place = record_depth_ == 1 || top_ == Top::array;
    if (object && depth_ == record_depth_ && in_place && records_ < kMaxReplyRecords) {
      in_record_ = true;
      record_ = Record{};
      field_ = nullptr;
    }
    return true;
  }

  bool close() {
    if (in_record_ && depth_ == record_depth_) {
      in_record_ = false;
      ++records_;
      if (record_.id > 0) tracks_.push_back(std::move(record_).track());
    }
    --depth_;
    return true;
  }

  bool number(double n, std::optional<std::uint64_t> positive_integer = std::nullopt) {
    Value v;
    v.number = n;
    v.positive_integer = positive_integer;
    return value(v);
  }

  // Every occurrence of a field replaces the one before, whatever its type.
  bool value(const Value& v) {
    if (depth_ == 0 && top_ == Top::none) top_ = Top::scalar;
    if (!in_record_ || depth_ != record_depth_) return true;
    if (!field_) return true;
    switch (field_->kind) {
      case Kind::id:
        record_.id = v.positive_integer.value_or(0);
        break;
      case Kind::text:
        record_.*field_->text = v.text ? std::move(*v.text) : std::string();
        break;
      case Kind::duration:
        record_.duration = v.number && *v.number > 0 ? v.number : std::nullopt;
        break;
      case Kind::instrumental:
        record_.instrumental = v.flag.value_or(false);
        break;
    }
    field_ = nullptr;
    return true;
  }

  std::size_t record_depth_;
  std::size_t depth_ = 0;
  Top top_ = Top::none;
  bool in_record_ = false;
  const Field* field_ = nullptr;
  Record record_;
  std::size_t records_ = 0;
  std::vector<Track> tracks_;
  std::string error_;
};

}  // namespace

Result<std::vector<Track>> parse_upstream_search(std::string_view body) {
  ReplyReader reader(2);
  if (!json::sax_parse(body, &reader)) return fail(reader.error());
  if (!reader.top_is_array()) return fail("the search reply is not a JSON array");
  return std::move(reader.tracks());
}

Result<Track> parse_upstream_record(std::string_view body) {
  ReplyReader reader(1);
  if (!json::sax_parse(body, &reader)) return fail(reader.error());
  if (reader.records() == 0) return fail("a record is not an object");
  if (reader.tracks().empty()) return fail("a record without an id");
  return std::move(reader.tracks().front());
}

}  // namespace lyr::service
