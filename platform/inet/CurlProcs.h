// The libcurl entry points the internet service uses, looked up by name in the loaded library.
#pragma once

#define CURL_DISABLE_TYPECHECK
#include <curl/curl.h>

#include <cstdint>
#include <string>

namespace qnl {

struct TCurlProcs {
  decltype(&curl_global_init) GlobalInit = nullptr;
  decltype(&curl_easy_init) EasyInit = nullptr;
  decltype(&curl_easy_setopt) EasySetopt = nullptr;
  decltype(&curl_easy_getinfo) EasyGetinfo = nullptr;
  decltype(&curl_easy_cleanup) EasyCleanup = nullptr;
  decltype(&curl_multi_init) MultiInit = nullptr;
  decltype(&curl_multi_cleanup) MultiCleanup = nullptr;
  decltype(&curl_multi_add_handle) MultiAdd = nullptr;
  decltype(&curl_multi_remove_handle) MultiRemove = nullptr;
  decltype(&curl_multi_perform) MultiPerform = nullptr;
  decltype(&curl_multi_poll) MultiPoll = nullptr;
  decltype(&curl_multi_info_read) MultiInfoRead = nullptr;
  decltype(&curl_easy_pause) EasyPause = nullptr;
  decltype(&curl_slist_append) SlistAppend = nullptr;
  decltype(&curl_slist_free_all) SlistFreeAll = nullptr;
};

// The WinINet code for a failed curl transfer of Service (1 FTP, 0 HTTP).
uint32_t InetErrorOf(CURLcode Result, bool Ftp);
void SetInetLastError(uint32_t Code);
void SetInetLastResponse(std::string Text);

// Runs the transfer of Easy, already added to Multi, a step: true when it has ended, with its
// result in Result.
bool PumpTransfer(const TCurlProcs& Curl, CURLM* Multi, CURL* Easy, CURLcode& Result);

} // namespace qnl
