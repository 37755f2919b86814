// A library that is no gauge module: it exports nothing the host looks for.
extern "C" {
__attribute__((visibility("default"))) int kestrel_not_a_gauge = 1;
}
