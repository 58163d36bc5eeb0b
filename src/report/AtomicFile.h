// Files written whole or not at all: the content goes to a temporary file beside the target,
// which replaces the target only once everything was written.
#pragma once

#include <QIODevice>
#include <QString>
#include <functional>

namespace bvr {

// Calls write with the temporary file, then replaces path with it. Any failure (the file
// cannot be created, a write or the final flush fails, write throws) leaves no temporary file
// and an older file at path untouched; it is reported as EBvrError
// "Cannot create file "%s". %s" with the full path and the system's reason (exceptions of
// write pass through unchanged).
void WriteFileAtomically(const QString& path, const std::function<void(QIODevice&)>& write);

}  // namespace bvr
