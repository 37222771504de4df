// The LRCLIB interface on the service's port: GET /api/get, /api/get-cached, /api/get/<id> and
// /api/search, with LRCLIB's JSON replies and errors (404 "TrackNotFound", 400
// "ValidationError"), and "Access-Control-Allow-Origin: *" on each, preflights included, so
// that players in a browser can use it. /api/get-cached never asks the upstream.
#pragma once

#include <httplib.h>

#include "service/catalog/lyric_service.h"
#include "service/http/track_replies.h"

namespace lyr::service {

// `service` is read when a request comes, so it may be set after the routes are added;
// `replies` must outlive the server.
void add_lrclib_routes(httplib::Server& server, const LyricService* const& service, TrackReplies& replies);

}  // namespace lyr::service
