// An empty program that carries the main program's version block, for the
// tests that read that block from a file.
int main()
{
    return 0;
}
