#pragma once
// The maker's addresses, shown in the About box and used by the mail and
// the gallery pages. The "mailto:" and "http://" links are built from them.
namespace pw::res {

inline constexpr const char* kSupportAddress = "support@pagewick.example";
inline constexpr const char* kWebSite = "https://www.pagewick.example/";
inline constexpr const char* kWebHost = "www.pagewick.example";

}  // namespace pw::res
