#include "service/http/lrclib_routes.h"

#include "service/http/lrclib_params.h"
#include "service/http/track_json.h"

namespace lyr::service {

namespace {

constexpr const char* kJson = "application/json";

void allow_any_origin(httplib::Response& res) {
  res.set_header("Access-Control-Allow-Origin", "*");
}

void reply(httplib::Response& res, int status, std::string body) {
  allow_any_origin(res);
  res.status = status;
  res.set_content(std::move(body), kJson);
}

void not_found(httplib::Response& res) {
  reply(res, 404, error_json(404, "TrackNotFound", "Failed to find specified track"));
}

void invalid(httplib::Response& res, const std::string& why) {
  reply(res, 400, error_json(400, "ValidationError", why));
}

void answer(httplib::Response& res, TrackReplies& replies, const Result<Track>& track) {
  if (!track) return not_found(res);
  reply(res, 200, replies.track(track.value()));
}

}  // namespace

void add_lrclib_routes(httplib::Server& server, const LyricService* const& service_slot,
                       TrackReplies& replies) {
  const LyricService* const* slot = &service_slot;
  TrackReplies* written = &replies;
  auto get = [slot, written](bool ask_upstream) {
    return [slot, written, ask_upstream](const httplib::Request& req, httplib::Response& res) {
      auto query = track_query(req.params);
      if (!query) return invalid(res, query.error());
      answer(res, *written, (*slot)->find_track(query.value(), ask_upstream));
    };
  };
  server.Get("/api/get", get(true));
  server.Get("/api/get-cached", get(false));
  server.Get(R"(/api/get/([^/]*))", [slot, written](const httplib::Request& req, httplib::Response& res) {
    auto id = track_id_param(req.matches[1].str());
    if (!id) return invalid(res, id.error());
    answer(res, *written, (*slot)->track(id.value()));
  });
  server.Get("/api/search", [slot, written](const httplib::Request& req, httplib::Response& res) {
    auto search = track_search(req.params);
    if (!search) return invalid(res, search.error());
    reply(res, 200, written->tracks((*slot)->search_tracks(search.value())));
  });
  server.Options(R"(/api/(get|get-cached|get/[^/]*|search))",
                 [](const httplib::Request& req, httplib::Response& res) {
                   allow_any_origin(res);
                   res.set_header("Access-Control-Allow-Methods", "GET, OPTIONS");
                   std::string asked = req.get_header_value("Access-Control-Request-Headers");
                   if (!asked.empty()) res.set_header("Access-Control-Allow-Headers", asked);
                   res.set_header("Access-Control-Max-Age", "86400");
                   res.status = 204;
                 });
}

}  // namespace lyr::service
