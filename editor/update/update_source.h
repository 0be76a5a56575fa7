// Whether an installation has somewhere to update from: a server other than
// the built-in placeholder, and the publisher's key to check what it offers.
#pragma once

#include <vector>

#include <QString>

namespace pivolane::editor {

// The messages that tell what is missing for an update from serverUrl checked
// with publicKey (the settings' values); empty when nothing is.
std::vector<int> MissingUpdateSource(const QString& serverUrl, const QString& publicKey);

}  // namespace pivolane::editor
