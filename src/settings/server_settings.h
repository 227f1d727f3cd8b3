#pragma once

#include "core/server_urls.h"
#include "settings/registry_backend.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace voltwise {

// A base address "scheme://host[:port]" from a stored text: http or https
// with a host; any path, query or user part is dropped. nullopt otherwise.
std::optional<QUrl> ServerUrlFromText(const QString &text);

// "current" or "classic", letter case aside; nullopt for anything else.
std::optional<FeedSource> FeedSourceFromText(const QString &text);
QString FeedSourceText(FeedSource feeds);

// Section "Servers": "GridMain", "GridContent", "Maker", "FlexAlerts", "PGE",
// "SCE", "SDGE" and "SDGEBlackout", each falling back to ServerUrls::defaults()
// when missing or not an http/https address, and "Feeds", "current" unless it
// reads "classic".
ServerUrls LoadServerUrls(const RegistryBackend &store);

// Writes the addresses and the feeds, as the demo and the tests do to point
// the program at another server.
bool SaveServerUrls(RegistryBackend &store, const ServerUrls &urls);

} // namespace voltwise
