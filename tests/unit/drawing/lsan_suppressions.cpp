// The leak checker of sanitizer builds reads this hook at start-up. Fontconfig loses a few bytes while
// parsing its configuration files, once per process and beyond our reach. Fontconfig is built without
// frame pointers, so the checker's quick stack walk stops inside it and only the library's name is left
// to recognise the leak by; leaks of our own text code (layouts, contexts) surface through other libraries.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
