#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "document/setupdoc.h"

namespace orvela {

// Setup files: a TSetupDocument as UTF-8 JSON, {"format": "orvela-setup", "version": 2, …};
// docs/setup-format.md lists the keys, data/orvela-setup.schema.json checks them. Version 2
// added wire bends; a version 1 file reads as it always did.

inline constexpr std::string_view SetupFileExtension = ".orvela";
inline constexpr std::string_view SetupFileFormat = "orvela-setup";
inline constexpr int SetupFileVersion = 2;
inline constexpr int OldestSetupFileVersion = 1;
// Larger input is refused unread: an 80-tooth setup takes about half a megabyte.
inline constexpr std::size_t SetupFileMaxBytes = 16u * 1024u * 1024u;

// Why a setup file was not read or written: the file (empty for a text), a JSON pointer to
// the value at fault (empty for the text as a whole) and what is wrong.
struct TSetupFileError {
  std::string File;
  std::string Pointer;
  std::string Message;

  // "<file>: <pointer>: <message>", the parts that are empty left out.
  std::string Text() const;
};

// The document as JSON text; every number in its shortest form that reads back exactly, so
// reading the text gives the document again and writing that gives the same bytes.
std::string WriteSetupText(const TSetupDocument& doc);

// The document of a text, or nothing and its first problem in error. Refused: more than
// SetupFileMaxBytes, text that is not JSON or ends early, another format or a newer
// version, a missing or unknown key, a value of the wrong kind, a number that is not finite
// or out of its range, a tooth type that does not exist, a response curve the response
// editor could not make, a wire tied to a tooth, bracket or attachment that is not there.
// A tooth given by its type and pose alone ({"type", "cRes" in mm, "angulation" in degrees,
// "supportLoss" in %}) is built as Edit > Add Tooth builds it and then placed.
std::optional<TSetupDocument> ReadSetupText(std::string_view text, TSetupFileError& error);

// Replaces the file at path with the document's text in one step (ReplaceFileText): a crash
// leaves the old file or the new one. False, the file as it was and why in error, on failure.
bool SaveSetupFile(const std::string& path, const TSetupDocument& doc, TSetupFileError& error);

// Reads and checks the setup file at path; nothing, and why in error, when it cannot be read
// or is not a setup file this program reads.
std::optional<TSetupDocument> LoadSetupFile(const std::string& path, TSetupFileError& error);

}  // namespace orvela
