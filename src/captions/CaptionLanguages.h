#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/SubtitleTracks.h"

// Caption languages: the language classes of caption files and what the language message
// says, and which of a medium's own subtitle tracks is drawn and how the messages name it.
namespace orvalis {

// The language class of a language tag or name: "ko", "kor", "ko-KR", "Korean" give "KRCC";
// English "EGCC", Japanese "JPCC", French "FRCC"; "" for any other.
std::string_view languageClassOfTag(std::string_view tag);

// The language class of a language word in a file name: a tag as above, or a name of the
// language in Korean or English ("한글", "한국어", "English"); "" for any other.
std::string_view languageClassOfName(std::string_view word);

// The language of a SAMI class: "KRCC", "EGCC", "JPCC" or "FRCC" by its name ("ENCC" and
// "NLCC" give "EGCC"), else by the lang property its style sheet gives it ("en-US", "kr-KR"),
// else by a code inside its name, else by its name read as a language tag ("en-US",
// "ENUSCC", "KOKRCC"); the class name upper-cased when none of these says.
std::string samiLanguageCode(std::string_view className, std::string_view lang);

// The language message for a language class: "자막 언어 : 한글", "자막 언어 : 영어",
// "자막 언어 : 일어", "자막 언어 : 불어", else "자막 언어 : 알 수 없음".
std::string languageMessage(std::string_view code);
// The language's name in those messages: "한글", "영어", "일어", "불어", else "알 수 없음".
std::string_view languageName(std::string_view code);

// The language class of a track: its tag, or, when it has none ("und" counts as none), its
// title ("Korean", "한국어").
std::string_view languageClassOfTrack(const SubtitleTrack& track);

// The track drawn when the medium opens: the first Korean one, else the first English one,
// else the first. 0 for none.
int preferredSubtitleTrack(const std::vector<SubtitleTrack>& tracks);
// The track after the one with this id, back to the first after the last (the first when the id
// is not among them). 0 for none.
int subtitleTrackAfter(const std::vector<SubtitleTrack>& tracks, int id);
// "자막 언어 : 한글 (Signs)": the track's language (its tag as it stands when it is none of the
// four, "알 수 없음" without one) and its title, when it has one that says more.
std::string subtitleTrackMessage(const SubtitleTrack& track);

// Who draws a subtitle track: its text goes through the player's own captions, with every
// caption setting; pictures (PGS, VobSub, DVB) and styled text (ASS, SSA, whose authors place
// and animate it) stay with the media framework, unless styles are ignored ("자막 스타일
// 무시"), which draws the text of a styled track as plain captions too.
enum class TrackDrawing { Captions, Framework };
TrackDrawing trackDrawingOf(const SubtitleTrack& track, bool ignoreStyles);

// The framework's subtitle delay for the caption sync offset (tenths of a second, positive
// shows captions earlier).
double subtitleDelayOf(int syncTenths);

}  // namespace orvalis
