#pragma once
// The data files of the program folder, and the conversion of the engine's own texts (written
// in UTF-8 in the source) into the CP949 bytes it compares and shows.

#include <string>

namespace engine::names {

inline constexpr const char* kReserve = "reserve.dat";
inline constexpr const char* kKeywords = "data1.dat";
inline constexpr const char* kAnswers = "data2.dat";
inline constexpr const char* kQuestions = "data3.dat";
inline constexpr const char* kFreeTalk = "data4.dat";
inline constexpr const char* kOpenSyllables = "vowel.dat";
inline constexpr const char* kMonologue = "mal.dat";

}  // namespace engine::names

namespace engine {

std::string to_cp949(const char* utf8);

}  // namespace engine
