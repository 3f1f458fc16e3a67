/* Console probe: prints "hello" and exits with code 3. */
#include <stdio.h>

int main(void)
{
    printf("hello\n");
    fflush(stdout);
    return 3;
}
