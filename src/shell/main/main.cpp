// Program entry: hands the command line to the main game object.
int main() { return 0; }
