#pragma once
// The store's credentials for the hub, from a file only its owner can read: "user:password"
// for basic authentication, or a bearer token. Never on the command line, never logged.

#include <QByteArray>
#include <optional>
#include <string>

namespace hub {

struct Credentials {
    QByteArray authorization;  // the Authorization header's value
};

// The credentials in path; nothing and why (in the user's words) when the file cannot be read,
// is empty, or can be read by its group or by others.
std::optional<Credentials> ReadCredentials(const std::string& path, std::string& problem);

// The header's value for the file's text (its first line).
Credentials CredentialsOf(const QByteArray& text);

}  // namespace hub
