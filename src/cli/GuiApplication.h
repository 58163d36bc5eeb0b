// Painting needs a GUI application object; the tool creates one only for the commands that
// draw, and without a display it runs on the offscreen platform.
#pragma once

#include <QGuiApplication>
#include <memory>

namespace bvr::cli {

// A new application when none exists yet (nullptr otherwise), with the layouts' font names
// mapped to the installed faces.
std::unique_ptr<QGuiApplication> EnsureGuiApplication();

}  // namespace bvr::cli
