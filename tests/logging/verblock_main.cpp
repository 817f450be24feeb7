// A program that exists only to carry a version block.
int main() { return 0; }
