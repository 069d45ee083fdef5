marker = "disk"
