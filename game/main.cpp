// Entry point; the options and the game flow come with the game module.
int main() { return 0; }
