// SPDX-License-Identifier: GPL-3.0-or-later
// libofx loaded by the tool only when an OFX statement is read.
//
// libofx and the SGML parser under it take a few milliseconds to load and
// relocate, which every command would pay at its start (a scan of a year's
// archive takes some tens). The tool therefore defines the few libofx entry
// points the statement reader calls (core/ofxreader.cpp), and its link drops
// the library as not needed; the first call loads it and hands on to it.
#include <dlfcn.h>
#include <libofx/libofx.h>
#include <unistd.h>

#include <cstdio>

namespace {

void* library() {
  static void* handle = [] {
    void* h = ::dlopen("libofx.so.7", RTLD_NOW | RTLD_LOCAL);
    if (!h) std::fprintf(stderr, "fondaro-tool: cannot load libofx: %s\n", ::dlerror());
    return h;
  }();
  return handle;
}

// The library's own entry point `name`; without it the reader cannot go on,
// and only its child process (which reports a failure by its exit) calls these.
template <class Fn>
Fn entry(const char* name) {
  void* h = library();
  void* sym = h ? ::dlsym(h, name) : nullptr;
  if (!sym) {
    std::fprintf(stderr, "fondaro-tool: libofx has no %s\n", name);
    ::_exit(1);
  }
  return reinterpret_cast<Fn>(sym);
}

// The message switches as the reader set them here, copied to the library's own.
void copyMessageSwitches() {
  const struct {
    const char* name;
    int value;
  } switches[] = {{"ofx_PARSER_msg", ofx_PARSER_msg},   {"ofx_DEBUG_msg", ofx_DEBUG_msg},
                  {"ofx_DEBUG1_msg", ofx_DEBUG1_msg},   {"ofx_DEBUG2_msg", ofx_DEBUG2_msg},
                  {"ofx_DEBUG3_msg", ofx_DEBUG3_msg},   {"ofx_DEBUG4_msg", ofx_DEBUG4_msg},
                  {"ofx_DEBUG5_msg", ofx_DEBUG5_msg},   {"ofx_STATUS_msg", ofx_STATUS_msg},
                  {"ofx_INFO_msg", ofx_INFO_msg},       {"ofx_WARNING_msg", ofx_WARNING_msg},
                  {"ofx_ERROR_msg", ofx_ERROR_msg}};
  void* h = library();
  for (const auto& s : switches) {
    if (auto* flag = static_cast<int*>(h ? ::dlsym(h, s.name) : nullptr)) *flag = s.value;
  }
}

}  // namespace

extern "C" {

int ofx_PARSER_msg = 0;
int ofx_DEBUG_msg = 0;
int ofx_DEBUG1_msg = 0;
int ofx_DEBUG2_msg = 0;
int ofx_DEBUG3_msg = 0;
int ofx_DEBUG4_msg = 0;
int ofx_DEBUG5_msg = 0;
int ofx_STATUS_msg = 0;
int ofx_INFO_msg = 0;
int ofx_WARNING_msg = 0;
int ofx_ERROR_msg = 0;

LibofxContextPtr libofx_get_new_context() {
  const auto fn = entry<LibofxContextPtr (*)()>("libofx_get_new_context");
  copyMessageSwitches();
  return fn();
}

int libofx_free_context(LibofxContextPtr ctx) { return entry<int (*)(LibofxContextPtr)>("libofx_free_context")(ctx); }

void ofx_set_transaction_cb(LibofxContextPtr ctx, LibofxProcTransactionCallback cb, void* user_data) {
  entry<void (*)(LibofxContextPtr, LibofxProcTransactionCallback, void*)>("ofx_set_transaction_cb")(ctx, cb,
                                                                                                    user_data);
}

int libofx_proc_file(LibofxContextPtr ctx, const char* path, enum LibofxFileFormat format) {
  return entry<int (*)(LibofxContextPtr, const char*, LibofxFileFormat)>("libofx_proc_file")(ctx, path, format);
}

}  // extern "C"
