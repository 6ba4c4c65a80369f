#pragma once

namespace orvalis {

// Marks a step of the start-up for developers who measure it. With
//   QT_LOGGING_RULES="orvalis.startup.info=true;orvalis.video.info=true"
//   QT_MESSAGE_PATTERN="%{time process} %{category} %{message}"
// in the environment, each step is printed with the seconds since the process began
// (orvalis.video adds the first frame of each medium). Silent otherwise.
void startupMark(const char* step);

}  // namespace orvalis
