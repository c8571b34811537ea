// The NTFS metadata reader: volume, file records, attributes.
