[playlist]
NumberOfEntries=2
File2=mms://radio/live
Title2=x
File1=D:\v.avi
Length1=-1
Version=2
