#pragma once
// The keys of a job file, section [COMMON].

namespace orvis::jobkey {

inline constexpr const char* kSection = "COMMON";
inline constexpr const char* NO = "NO";
inline constexpr const char* URI = "URI";
inline constexpr const char* NAME = "NAME";
inline constexpr const char* USEPROXY = "USEPROXY";
inline constexpr const char* USEUSERMAIL = "USEUSERMAIL";
inline constexpr const char* USERMAILHTML = "USERMAILHTML";
inline constexpr const char* MAILGROUP = "MAILGROUP";
inline constexpr const char* CHKKOBETSU = "CHKKOBETSU";
inline constexpr const char* CHKHIKAKU = "CHKHIKAKU";
inline constexpr const char* CHKSCRIPT = "CHKSCRIPT";
inline constexpr const char* CHKCOMMENT = "CHKCOMMENT";
inline constexpr const char* CHKREF = "CHKREF";
inline constexpr const char* CHKSRC = "CHKSRC";
inline constexpr const char* CHKALT = "CHKALT";
inline constexpr const char* CHKHEAD = "CHKHEAD";
inline constexpr const char* CHKWORD = "CHKWORD";
inline constexpr const char* WORD = "WORD";
inline constexpr const char* CHKSUBFOLDER = "CHKSUBFOLDER";
inline constexpr const char* TYPE = "TYPE";
inline constexpr const char* SOURCE = "SOURCE";
inline constexpr const char* CHECK = "CHECK";

}  // namespace orvis::jobkey
