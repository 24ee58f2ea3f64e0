// Prepares the environment of a program that draws pictures without ever showing a window (the
// command-line tool, the tile server, tests): the offscreen platform, and a private runtime folder when
// the session has none, so that Qt has nothing to warn about on stderr. Call before QGuiApplication.
#pragma once

namespace zelvano {

void prepareHeadlessGui();

} // namespace zelvano
