/* A DLL that holds nothing but the resources in version_probe.rc, for the
   tests of pe-resources.py. */
int version_probe(void)
{
    return 0;
}
