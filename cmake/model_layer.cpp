// The program each layer of the pair's model is linked into whole, with only
// the layers below it (CMakeLists.txt): it does nothing when run; that it
// links at all is the check that the layer calls nothing above it and
// nothing of GL.
int main() { return 0; }
