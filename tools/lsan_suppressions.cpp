// What LeakSanitizer passes over in the build's programs that draw with
// cairo (the artwork tools, the sound maker, the tests), compiled into each
// of them: the caches that fontconfig and cairo keep for the life of the
// process, filled as text is drawn with new fonts and glyphs, are not leaks.
// Built in rather than given in LSAN_OPTIONS, so that no path has to pass
// through that variable (which cannot hold a blank). A program built without
// the sanitizers never calls these.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libcairo.so\nleak:libpixman-1.so\n";
}

extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
