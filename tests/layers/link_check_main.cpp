// Never run: the link is the check (see CMakeLists.txt here).
int main() { return 0; }
